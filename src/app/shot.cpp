// The shot from the charge to the end of the playback.
#include "app/shot.h"

#include <GL/freeglut.h>

#include "app/frame_timer.h"
#include "app/objects.h"
#include "app/shell.h"
#include "app/sound.h"
#include "render/camera.h"
#include "render/cue.h"
#include "sim/simulation.h"
#include "sim/strike.h"

namespace {
IdleCallback currentIdle = nullptr;
} // namespace

void installIdle(IdleCallback callback) {
    currentIdle = callback;
    glutIdleFunc(callback);
}

IdleCallback installedIdle() { return currentIdle; }

void chargeShot() {
    if (cue->pull >= MAX_PULL) return;
    cue->pull += PULL_PER_KEY_EVENT;
    postRedisplay();
}

void keyboardUp(unsigned char key, int, int) {
    if (!referee.keyAllowed(key) || key != KEY_SPACE) return;
    cue->power = cue->pull;
    cue->strokeStep = cue->pull * STROKE_FRACTION;
    installIdle(strokeIdle);
}

// The cue moves forward a tenth of its draw-back per frame however long a frame takes, so the
// stroke lasts ten frames, or eleven when rounding leaves a sliver of pull.
void strokeIdle() {
    if (cue->pull > 0.0) {
        cue->pull -= cue->strokeStep;
        postRedisplay();
        return;
    }
    const double power = cue->power;
    cue->pull = cue->power = cue->strokeStep = 0.0;
    strikeCueBall(power);
}

void strikeCueBall(double power) {
    strikeBall(*balls[0], cue->angle, power);
    shotSounds.strike(power);
    cue->visible = false;
    FrameTimer::start();
    referee.startShot();
    installIdle(simulationIdle);
}

void simulationIdle() {
    const double seconds = FrameTimer::elapsedSeconds();
    shotSounds.advance(seconds); // the frame's contacts are heard as it is shown, at its end
    simulate(balls, *table, referee, shotSounds, seconds);
    // The frame's contact lines reach a pipe or a file as they happen, not when the game ends.
    contactLines.endFrame();
    postRedisplay();
    if (!allBallsAtRest(balls)) return;
    referee.endShot();
    if (!referee.isGameOver()) {
        followCueBall();
        cue->visible = true;
    }
    installIdle(nullptr);
}

void followCueBall() {
    const Vec3& spot = balls[0]->position;
    camera->setTarget(spot.x, spot.y, spot.z);
    cue->setPosition(spot.x, spot.y, spot.z);
}
