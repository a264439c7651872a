// Ball in hand: moving the lifted cue ball, placing it on a free spot, and the re-spot key.
#pragma once

// Moves the lifted cue ball by PLACEMENT_MOVE_PER_DEGREE per degree of the arrow `step` the way
// the arrow points on the overhead screen, kept within the free area. `key` is a GLUT special-key
// code.
void moveCueBall(int key, double step);
// Moves the lifted cue ball over (x, z), kept within the free area.
void hoverCueBall(double x, double z);
// Lowers the cue ball onto its spot under the game's placement rule. Returns true when the spot
// is free: play goes back to aiming. A refused spot leaves the ball lifted, and the placement
// screen shows the refusal until the next frame has been drawn.
bool placeCueBall();
// Whether the last placement was refused and the refusal not yet drawn.
bool placementRefused();
// The frame showing the refusal has been drawn.
void refusalShown();
// Puts the cue ball back on its start spot at rest and resumes aiming; does nothing while a ball
// in play touches or overlaps the spot.
void respotCueBall();
