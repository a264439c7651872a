// The shot: charging with the space bar or the mouse, the release, the cue's forward stroke, the
// strike and the frame-by-frame playback that hands the shot's end to the referee.
#pragma once

#include "sim/strike.h"

// Draws the cue back one unit, up to a pull of exactly MAX_PULL.
void chargeShot();
// Fixes the power at the pull and starts the stroke.
void releaseCharge();
// Returns the cue to rest: no pull, no power, and the space bar held now charges nothing until
// it is pressed again, nor the mouse's button until it is pressed again. Every strike and every
// new game ends the charge.
void endCharge();
// A space-bar key-down (first press or repeat) and its release; `admitted` says whether the
// play state takes the key now. Holding it charges one unit per event, the release strikes.
void pressSpace(bool admitted);
void releaseSpace(bool admitted);
// The mouse's hold on the cue: a left-button press takes it when `admitted` (the play state
// takes a charge and no stroke is under way); the strike, the space bar's release and every end
// of the charge let go of it.
void grabCue(bool admitted);
bool cueGrabbed();
// The held cue drawn back to `pull` units, or brought forward to it.
void pullCue(double pull);
// The held cue driven forward past rest: it strikes, as the space bar's stroke ends, at the pull
// it last went forward from; a cue never drawn back strikes nothing.
void driveCueThrough();
// The mouse's button let go before the strike: the charge ends with the cue at rest.
void letGoOfCue();
// GLUT keyboard-up callback: the space bar's release.
void keyboardUp(unsigned char key, int x, int y);
// Idle callback of the stroke: a tenth of the pull per frame, then the strike.
void strokeIdle();
// Sets the cue ball rolling along the aim at `power` units/s and starts the shot's playback at
// the measured frame time.
void strikeCueBall(double power);
// The strike alone: the charge ended, the cue ball rolling, heard and the cue put away; the
// frames are the caller's to play.
void startShot(double power);
// Idle callback while the balls run: plays a frame of the time measured since the last one.
void simulationIdle();
// One frame of `seconds` of the shot, heard and printed; once every ball is exactly at rest the
// referee judges the shot and the camera and the cue come to the cue ball (or, after a game
// lost on a scratch, to the table's centre).
void playFrame(double seconds);
// Points the camera and the cue at the cue ball where it lies.
void followCueBall();

using IdleCallback = void (*)();
// Installs the idle callback (null for none) and remembers it: GLUT cannot be asked for it.
void installIdle(IdleCallback callback);
IdleCallback installedIdle();

constexpr double MAX_PULL = MAX_SHOT_POWER; // units of draw-back, and units/s of shot speed
constexpr double PULL_PER_KEY_EVENT = 1.0;  // units
constexpr double STROKE_FRACTION = 0.1;     // of the pull taken off per stroke frame
