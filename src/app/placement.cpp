// Ball in hand: the lifted cue ball moved over the table, placed, refused or re-spotted.
#include "app/placement.h"

#include <GL/freeglut.h>

#include "app/objects.h"
#include "app/shell.h"
#include "app/shot.h"
#include "sim/table.h"

namespace {
constexpr double MOVE_PER_STEP = 0.5; // world units per degree of arrow step

// The ball's centre stays a radius inside the cushions: the playing area's half sizes are
// halved in integers, as the table holds them.
void clampToPlayingArea(Vec3& p) {
    const double zMax = table->length / 2 - 1.0;
    const double xMax = table->width / 2 - 1.0;
    if (p.z > zMax) p.z = zMax;
    if (p.z < -zMax) p.z = -zMax;
    if (p.x > xMax) p.x = xMax;
    if (p.x < -xMax) p.x = -xMax;
}

bool touchesBallInPlay(const Ball& cueBall) {
    for (int i = 1; i < BALL_COUNT; ++i) {
        if (cueBall.overlaps(*balls[i])) return true;
    }
    return false;
}
} // namespace

// On the overhead screen up is -x and right is -z.
void moveCueBall(int key, double step) {
    const double d = step * MOVE_PER_STEP;
    Vec3& p = balls[0]->position;
    switch (key) {
    case GLUT_KEY_LEFT: p.z += d; break;
    case GLUT_KEY_UP: p.x -= d; break;
    case GLUT_KEY_RIGHT: p.z -= d; break;
    case GLUT_KEY_DOWN: p.x += d; break;
    default: break;
    }
    clampToPlayingArea(p);
    postRedisplay();
}

bool placeCueBall() {
    Ball& cueBall = *balls[0];
    cueBall.position.y = RESTING_HEIGHT;
    if (touchesBallInPlay(cueBall)) {
        cueBall.position.y = PLACING_HEIGHT;
        referee.placementRejected = true;
        postRedisplay();
        return false;
    }
    referee.resumeAiming();
    followCueBall();
    postRedisplay();
    return true;
}

void respotCueBall() {
    const float* spot = rack[0].position;
    // Re-spotted into a ball that lies there, the cue ball would start the next shot inside it.
    if (touchesBallInPlay(Ball(rack[0].radius, spot[0], spot[1], spot[2]))) return;
    Ball& cueBall = *balls[0];
    cueBall.pocketed = false;
    cueBall.position = Vec3(spot[0], spot[1], spot[2]);
    cueBall.velocity = cueBall.acceleration = cueBall.rotation = Vec3();
    cueBall.angularVelocity = cueBall.angularAcceleration = Vec3();
    followCueBall();
    referee.resumeAiming();
    postRedisplay();
}
