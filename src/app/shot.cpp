// The shot from the charge to the end of the playback.
#include "app/shot.h"

#include <GL/freeglut.h>

#include <algorithm>

#include "app/frame_timer.h"
#include "app/keyboard.h"
#include "app/objects.h"
#include "app/recording.h"
#include "app/shell.h"
#include "app/sound.h"
#include "render/camera.h"
#include "render/cue.h"

namespace {
IdleCallback currentIdle = nullptr;
FrameTimer frameTimer; // the frames of the shot under way

// The space bar as the player holds it. Repeats of a held key arrive as key-downs, so a charge
// grows only from a press made while charging is admitted: a key still held from a shot that
// F1 to F8 struck, or from another player's turn, draws nothing back until it is pressed again.
struct SpaceBar {
    bool down = false;     // pressed and not yet released
    bool charging = false; // this press draws the cue back
} space;

// The cue as the mouse holds it.
struct MouseHold {
    bool held = false;
    double strokeFrom = 0.0; // units of pull the cue last went forward from: the power
} mouseHold;

void setPull(double pull) {
    cue->pull = pull;
    recordEvent(RecordEvent::of(RecordEventKind::Pull, cue->pull));
    postRedisplay();
}
} // namespace

void installIdle(IdleCallback callback) {
    currentIdle = callback;
    glutIdleFunc(callback);
}

IdleCallback installedIdle() { return currentIdle; }

void chargeShot() {
    if (cue->pull < MAX_PULL) setPull(cue->pull + PULL_PER_KEY_EVENT);
}

// The stroke drives the cue from here on, not the mouse.
void releaseCharge() {
    mouseHold = MouseHold();
    cue->power = cue->pull;
    cue->strokeStep = cue->pull * STROKE_FRACTION;
    installIdle(strokeIdle);
}

void endCharge() {
    space.charging = false;
    mouseHold = MouseHold();
    cue->pull = cue->power = cue->strokeStep = 0.0;
}

void pressSpace(bool admitted) {
    if (!space.down) space.charging = admitted;
    space.down = true;
    if (space.charging && admitted) chargeShot();
}

void releaseSpace(bool admitted) {
    const bool charged = space.charging;
    space.down = space.charging = false;
    if (charged && admitted) releaseCharge();
}

void grabCue(bool admitted) { mouseHold = MouseHold{admitted}; }

bool cueGrabbed() { return mouseHold.held; }

void pullCue(double pull) {
    if (pull > cue->pull) mouseHold.strokeFrom = pull;
    if (pull != cue->pull) setPull(pull);
}

void driveCueThrough() {
    if (mouseHold.strokeFrom > 0.0) strikeCueBall(mouseHold.strokeFrom);
}

// A cue drawn back is seen, and recorded, coming back to rest.
void letGoOfCue() {
    if (!mouseHold.held) return;
    if (cue->pull > 0.0) setPull(0.0);
    endCharge();
}

void keyboardUp(unsigned char key, int, int) {
    if (key == KEY_SPACE) releaseSpace(game.referee.allows(Action::Charge));
}

// The cue moves forward a tenth of its draw-back per frame however long a frame takes, so the
// stroke lasts ten frames, or eleven when rounding leaves a sliver of pull.
void strokeIdle() {
    if (cue->pull > 0.0) {
        cue->pull -= cue->strokeStep;
        recordEvent(RecordEvent::of(RecordEventKind::Pull, std::max(cue->pull, 0.0)));
        postRedisplay();
        return;
    }
    strikeCueBall(cue->power);
}

void strikeCueBall(double power) {
    startShot(power);
    frameTimer.start();
    installIdle(simulationIdle);
}

void startShot(double power) {
    endCharge();
    recordEvent(RecordEvent::strike(game.referee.currentPlayerNumber(), power));
    game.strike(cue->angle, power);
    shotSounds.strike(power);
    cue->visible = false;
}

// A frame the clock cannot tell from the last waits for the next reading; a stalled window's long
// pause plays as one frame of the longest time a record takes.
void simulationIdle() {
    const double seconds = frameTimer.lap();
    if (seconds > 0.0) playFrame(std::min(seconds, LONGEST_FRAME_TIME));
}

void playFrame(double seconds) {
    recordEvent(RecordEvent::of(RecordEventKind::Frame, seconds));
    shotSounds.advance(seconds); // the frame's contacts are heard as it is shown, at its end
    game.playFrame(seconds, shotSounds);
    // The frame's contact lines reach a pipe or a file as they happen, not when the game ends.
    contactLines.endFrame();
    postRedisplay();
    if (!game.atRest()) return;
    const ShotOutcome outcome = game.endShot();
    recordEvent(RecordEvent::end(game.hash()));
    if (!outcome.gameOver) {
        followCueBall();
        cue->visible = true;
    } else if (outcome.scratched) {
        camera->setTarget(0.0, 0.0, 0.0); // the cue ball is off the table: look at its centre
    }
    installIdle(nullptr);
}

void followCueBall() {
    const Vec3& spot = game.balls[0].position;
    camera->setTarget(spot.x, spot.y, spot.z);
    cue->setPosition(spot.x, spot.y, spot.z);
}
