// The keys: admission by the referee, then each key's action.
#include "app/keyboard.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "app/objects.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "render/camera.h"
#include "render/cue.h"

static_assert(SPECIAL_KEY_F1 == GLUT_KEY_F1 && SPECIAL_KEY_F8 == GLUT_KEY_F8 &&
                  SPECIAL_KEY_F9 == GLUT_KEY_F9 && SPECIAL_KEY_F10 == GLUT_KEY_F10 &&
                  SPECIAL_KEY_F11 == GLUT_KEY_F11,
              "the referee's key codes are GLUT's");

namespace {
constexpr double ZOOM_STEP = 1.0;  // world units per press
constexpr double PLAIN_STEP = 0.5; // degrees
constexpr double CTRL_STEP = 1.0;  // degrees
constexpr double ALT_STEP = 30.0;  // degrees

void zoom(double dDistance) {
    camera->addOrbit(dDistance, 0.0, 0.0);
    postRedisplay();
}

// Left and Right turn the view and the aim together, so the eye stays behind the shot line.
void aimOrView(int key, double step) {
    switch (key) {
    case GLUT_KEY_LEFT: turnAim(-step); break;
    case GLUT_KEY_RIGHT: turnAim(step); break;
    case GLUT_KEY_UP: camera->addOrbit(0.0, 0.0, step); break;
    case GLUT_KEY_DOWN: camera->addOrbit(0.0, 0.0, -step); break;
    default: break;
    }
}

// With the ball in hand the key first does what Enter does, and strikes only from a spot that
// was accepted: struck where it hovers, the lifted ball would pass over the others and could
// leave the table for good. A cue ball in a pocket is not struck: below the table only its own
// slowing down would stop it, and the shot would run on long after the table came to rest.
void fixedPowerShot(double power) {
    if (balls[0]->pocketed) return;
    if (referee.isPlacingCueBall() && !placeCueBall()) return;
    strikeCueBall(power);
}

bool isArrow(int key) { return key >= GLUT_KEY_LEFT && key <= GLUT_KEY_DOWN; }

// Degrees of turn per arrow press, halved into world units for the ball in hand: Ctrl wins
// over Alt, Shift changes nothing.
double arrowStep(int modifiers) {
    if (modifiers & GLUT_ACTIVE_CTRL) return CTRL_STEP;
    if (modifiers & GLUT_ACTIVE_ALT) return ALT_STEP;
    return PLAIN_STEP;
}
} // namespace

void keyboard(unsigned char key, int, int) {
    if (key == KEY_SPACE) {
        pressSpace(referee.keyAllowed(key));
        return;
    }
    if (!referee.keyAllowed(key)) return;
    switch (key) {
    case KEY_ENTER:
        if (referee.isPlacingCueBall()) placeCueBall();
        break;
    case KEY_ESCAPE: std::exit(0);
    case 'x': zoom(ZOOM_STEP); break;
    case 'z': zoom(-ZOOM_STEP); break;
    default: break;
    }
}

void special(int key, int, int) {
    if (!referee.specialKeyAllowed(key)) return;
    if (key >= SPECIAL_KEY_F1 && key <= SPECIAL_KEY_F8) {
        fixedPowerShot(FIXED_POWERS[key - SPECIAL_KEY_F1]); // simulationIdle redraws every frame
        return;
    }
    switch (key) {
    case SPECIAL_KEY_F9: respotCueBall(); return;
    case SPECIAL_KEY_F10: newGame(); return;
    case SPECIAL_KEY_F11: clearTable(); return;
    default: break;
    }
    if (isArrow(key)) {
        const double step = arrowStep(glutGetModifiers());
        if (referee.isPlacingCueBall()) {
            moveCueBall(key, step);
        } else {
            aimOrView(key, step);
        }
    }
    postRedisplay();
}

void turnAim(double degrees) {
    camera->addOrbit(0.0, degrees, 0.0);
    cue->addAngles(degrees, 0.0);
}

void newGame() {
    for (int i = 0; i < BALL_COUNT; ++i) balls[i]->reset(rack[i].position);
    referee.reset();
    camera->setOrbit(START_DISTANCE, START_AZIMUTH, START_ELEVATION, 0.0, 1.0, 0.0);
    cue->resetAim(START_CUE_ANGLE, START_CUE_ELEVATION);
    endCharge();
    followCueBall(); // the cue ball is back on its start spot
    // A stroke under way would otherwise strike the new rack at power 0 and hand the break over.
    installIdle(nullptr);
    postRedisplay();
}

void clearTable() {
    for (int i = 1; i < BALL_COUNT; ++i) {
        Ball& ball = *balls[i];
        if (ball.number == 8) continue;
        if (!ball.pocketed) referee.ballPocketed(ball.number); // judged at the end of the next shot
        ball.pocketed = true;
    }
    postRedisplay();
}
