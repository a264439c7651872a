// Ball in hand: the lifted cue ball moved over the table, placed, refused or re-spotted.
#include "app/placement.h"

#include <GL/freeglut.h>

#include <algorithm>

#include "app/objects.h"
#include "app/recording.h"
#include "app/shell.h"
#include "app/shot.h"

namespace {
bool refused = false; // the last spot was refused and the refusal is still to be shown

// The ball's centre stays within the area where the game places it.
void clampToFreeArea(Vec3& p) {
    p.x = std::clamp(p.x, -FREE_HALF_WIDTH, FREE_HALF_WIDTH);
    p.z = std::clamp(p.z, -FREE_HALF_LENGTH, FREE_HALF_LENGTH);
}
} // namespace

// On the overhead screen up is -x and right is -z.
void moveCueBall(int key, double step) {
    const double d = step * PLACEMENT_MOVE_PER_DEGREE;
    double dx = 0.0, dz = 0.0;
    switch (key) {
    case GLUT_KEY_LEFT: dz = d; break;
    case GLUT_KEY_UP: dx = -d; break;
    case GLUT_KEY_RIGHT: dz = -d; break;
    case GLUT_KEY_DOWN: dx = d; break;
    default: break;
    }
    const Vec3& p = game.balls[0].position;
    hoverCueBall(p.x + dx, p.z + dz);
}

void hoverCueBall(double x, double z) {
    Vec3& p = game.balls[0].position;
    p.x = x;
    p.z = z;
    clampToFreeArea(p);
    recordEvent(RecordEvent::spot(RecordEventKind::Hover, p.x, p.z));
    postRedisplay();
}

bool placeCueBall() {
    const Vec3 spot = game.balls[0].position;
    refused = !game.placeCueBall(spot.x, spot.z);
    if (!refused) {
        recordEvent(RecordEvent::spot(RecordEventKind::Place, spot.x, spot.z));
        followCueBall();
    }
    postRedisplay();
    return !refused;
}

bool placementRefused() { return refused; }

void refusalShown() { refused = false; }

void respotCueBall() {
    if (!game.respotCueBall()) return;
    recordEvent(RecordEvent::of(RecordEventKind::Respot));
    followCueBall();
    postRedisplay();
}
