// The mouse through the keys' own operations, each action admitted by the referee as a key's is.
#include "app/mouse.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <cmath>

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "render/cue.h"
#include "render/overlays.h"

namespace {
struct Drag {
    int x = 0;                    // pixels: the pointer when last seen
    int startY = 0;               // pixels: the pointer when the button went down
    double degreesPerPixel = 0.0; // the aim's turn
} drag;

// Whole units, as the space bar draws them, for the pointer `y` pixels down the window.
double pullAt(int y) {
    const double pixels = y - drag.startY - PULL_SLACK_HEIGHT * windowHeight;
    const double units = std::floor(pixels * MAX_PULL / (FULL_PULL_HEIGHT * windowHeight));
    return std::clamp(units, 0.0, MAX_PULL);
}

double onPlacementGrid(double v) {
    return std::round(v / FINEST_PLACEMENT_STEP) * FINEST_PLACEMENT_STEP;
}

// On the arrows' grid, so that a click puts the ball where they could; a click off the cloth (on
// a rail, or on the help below the table) is taken for a slip rather than a spot by the cushion.
void placeAtPointer(int x, int y) {
    if (!game.referee.allows(Action::MoveBall) || !game.referee.allows(Action::PlaceBall)) return;
    const Vec3 p = overheadPoint(windowWidth, windowHeight, x, y);
    if (std::fabs(p.x) > 0.5 * TABLE_WIDTH || std::fabs(p.z) > 0.5 * TABLE_LENGTH) return;
    hoverCueBall(onPlacementGrid(p.x), onPlacementGrid(p.z));
    placeCueBall();
}

// The stroke of the space bar drives the cue once it is under way, so the mouse cannot take it.
// GLUT tells the modifiers at a press, not during the motion that follows.
void pressLeft(int x, int y) {
    if (game.referee.isPlacingCueBall()) return placeAtPointer(x, y);
    grabCue(game.referee.allows(Action::Charge) && installedIdle() == nullptr);
    const bool ctrl = glutGetModifiers() & GLUT_ACTIVE_CTRL;
    drag = {x, y, ctrl ? CTRL_DEGREES_PER_PIXEL : DEGREES_PER_PIXEL};
}
} // namespace

bool isWheel(int button) { return button == WHEEL_UP || button == WHEEL_DOWN; }

void mouse(int button, int state, int x, int y) {
    if (button == GLUT_LEFT_BUTTON) {
        if (state == GLUT_DOWN) pressLeft(x, y);
        else letGoOfCue();
    } else if (isWheel(button) && state == GLUT_DOWN && game.referee.allows(Action::Zoom)) {
        zoom(button == WHEEL_UP ? -ZOOM_STEP : ZOOM_STEP);
    }
}

// While the cue is drawn back the aim holds: a hand drifts sideways as it strokes.
void mouseMotion(int x, int y) {
    if (!cueGrabbed()) return;
    const int dx = x - drag.x;
    drag.x = x;
    if (!game.referee.allows(Action::Charge)) return;
    pullCue(pullAt(y));
    if (y < drag.startY) driveCueThrough();
    if (!cueGrabbed() || dx == 0 || cue->pull > 0.0 || !game.referee.allows(Action::Aim)) return;
    turnAim(dx * drag.degreesPerPixel);
    postRedisplay();
}
