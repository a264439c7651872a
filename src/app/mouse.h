// The mouse: the left button aims and strokes the cue or places the ball in hand, the wheel zooms.
#pragma once

// GLUT mouse callback. A left press takes hold of the cue where a charge is admitted, or on the
// placement screen puts the ball in hand where the pointer is and lowers it as Enter does; the
// left release before the strike lets go of the cue, at rest. The wheel (buttons 3 and 4) zooms
// in and out as z and x do. The right button opens the render menu and never comes here.
void mouse(int button, int state, int x, int y);
// GLUT motion callback (a button held). With the cue held: sideways turns the aim and the view
// while the cue is at rest; down draws the cue back, up brings it forward, and up past where the
// drag began strikes. Otherwise nothing.
void mouseMotion(int x, int y);
// Whether a GLUT mouse button is the wheel's.
bool isWheel(int button);

// The aim's turn per pixel sideways, plain and with Ctrl held as the button goes down.
constexpr double DEGREES_PER_PIXEL = 0.1;       // degrees
constexpr double CTRL_DEGREES_PER_PIXEL = 0.02; // degrees
// The drag down that draws the cue back fully, after a slack that a hand steadying the aim does
// not leave, both in window heights: full power is as near in any window.
constexpr double FULL_PULL_HEIGHT = 0.25;
constexpr double PULL_SLACK_HEIGHT = 0.02;
// GLUT's buttons of the wheel turned away from and towards the player.
constexpr int WHEEL_UP = 3;
constexpr int WHEEL_DOWN = 4;
