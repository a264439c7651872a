// Ball in hand: moving the lifted cue ball, placing it on a free spot, and the re-spot key.
#pragma once

// Moves the lifted cue ball by half the arrow step the way the arrow points on the overhead
// screen, kept within the playing area. `key` is a GLUT special-key code.
void moveCueBall(int key, double step);
// Lowers the cue ball onto its spot. Returns true when the spot is free: play goes back to
// aiming. A spot that touches or overlaps a ball in play is refused: the ball is lifted again and
// the placement screen shows the refusal once.
bool placeCueBall();
// Puts the cue ball back on its start spot at rest and resumes aiming; does nothing while a ball
// in play touches or overlaps the spot.
void respotCueBall();
