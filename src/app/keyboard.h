// The keys: the action each asks for, admitted or refused by the referee, and carried out.
#pragma once

#include "sim/game.h"
#include "sim/referee.h"

constexpr unsigned char KEY_ENTER = 13;
constexpr unsigned char KEY_ESCAPE = 27;
constexpr unsigned char KEY_SPACE = ' ';

// The action of an ordinary key; false for a key that has none.
bool keyAction(unsigned char key, Action& action);
// The action of a GLUT special key; the arrows move the ball in hand on the placement screen.
Action specialKeyAction(int key);

// GLUT keyboard callback: Enter places the cue ball, Escape quits, the space bar charges the
// shot, "z" and "x" zoom. Keys the play state does not admit are dropped without a redraw.
void keyboard(unsigned char key, int x, int y);
// GLUT special-key callback: F1 to F8 strike at fixed powers, F9 re-spots the cue ball, F10
// starts a new game, F11 clears the table, the arrows aim and turn the view or move the ball in
// hand. Every other admitted key (the modifiers alone among them) only redraws.
void special(int key, int x, int y);
// Turns the aim and the view together by `degrees` (positive as the Right arrow), as Left and
// Right do.
void turnAim(double degrees);
// Turns the aim and the view to `degrees` exactly, as a record or the other machine gives it.
void setAim(double degrees);
// Moves the eye `dDistance` world units away from the target (nearer when negative), as x does.
void zoom(double dDistance);
// F10: the rack broken by `breaker` (0 or 1), the referee, the camera and the cue as at start-up.
void newGame(int breaker = 0);
// F11: every object ball but the eight is pocketed where it lies, each reported once.
void clearTable();

// Turns of the aim and the view per arrow press, plain and with Ctrl; the ball in hand moves by
// PLACEMENT_MOVE_PER_DEGREE per degree, the plain step by the finest placement step.
constexpr double PLAIN_ARROW_STEP = FINEST_PLACEMENT_STEP / PLACEMENT_MOVE_PER_DEGREE; // degrees
constexpr double CTRL_ARROW_STEP = 1.0;                                                // degrees

constexpr double ZOOM_STEP = 1.0; // world units per press of z or x

// Shot speeds of F1 to F8, in units/s.
constexpr double FIXED_POWERS[8] = {10.0, 15.0, 20.0, 25.0, 30.0, 35.0, 40.0, 100.0};
