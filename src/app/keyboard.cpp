// The keys: each key's action, admitted or refused by the referee, then carried out.
#include "app/keyboard.h"

#include <GL/freeglut.h>

#include <cstdlib>

#include "app/objects.h"
#include "app/placement.h"
#include "app/recording.h"
#include "app/shell.h"
#include "app/shot.h"
#include "render/camera.h"
#include "render/cue.h"

namespace {
constexpr double ALT_STEP = 30.0; // degrees

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
    if (game.balls[0].pocketed) return;
    if (game.referee.isPlacingCueBall() && !placeCueBall()) return;
    strikeCueBall(power);
}

bool isArrow(int key) { return key >= GLUT_KEY_LEFT && key <= GLUT_KEY_DOWN; }

// Degrees of turn per arrow press, halved into world units for the ball in hand: Ctrl wins
// over Alt, Shift changes nothing.
double arrowStep(int modifiers) {
    if (modifiers & GLUT_ACTIVE_CTRL) return CTRL_ARROW_STEP;
    if (modifiers & GLUT_ACTIVE_ALT) return ALT_STEP;
    return PLAIN_ARROW_STEP;
}
} // namespace

bool keyAction(unsigned char key, Action& action) {
    switch (key) {
    case KEY_ENTER: action = Action::PlaceBall; return true;
    case KEY_ESCAPE: action = Action::Quit; return true;
    case KEY_SPACE: action = Action::Charge; return true;
    case 'z':
    case 'x': action = Action::Zoom; return true;
    default: return false;
    }
}

Action specialKeyAction(int key) {
    if (key >= GLUT_KEY_F1 && key <= GLUT_KEY_F8) return Action::Strike;
    if (isArrow(key)) {
        if (game.referee.isPlacingCueBall()) return Action::MoveBall;
        return key == GLUT_KEY_LEFT || key == GLUT_KEY_RIGHT ? Action::Aim : Action::View;
    }
    switch (key) {
    case GLUT_KEY_F9: return Action::Respot;
    case GLUT_KEY_F10: return Action::NewGame;
    case GLUT_KEY_F11: return Action::ClearTable;
    default: return Action::Redraw;
    }
}

void keyboard(unsigned char key, int, int) {
    Action action;
    if (!keyAction(key, action)) return;
    const bool admitted = game.referee.allows(action);
    if (action == Action::Charge) {
        pressSpace(admitted);
        return;
    }
    if (!admitted) return;
    switch (action) {
    case Action::PlaceBall:
        if (game.referee.isPlacingCueBall()) placeCueBall();
        break;
    case Action::Quit: std::exit(0);
    default: zoom(key == 'x' ? ZOOM_STEP : -ZOOM_STEP); break;
    }
}

void special(int key, int, int) {
    const Action action = specialKeyAction(key);
    if (!game.referee.allows(action)) return;
    switch (action) {
    case Action::Strike:
        fixedPowerShot(FIXED_POWERS[key - GLUT_KEY_F1]); // playFrame redraws every frame
        return;
    case Action::Respot: respotCueBall(); return;
    case Action::NewGame: newGame(); return;
    case Action::ClearTable: clearTable(); return;
    case Action::MoveBall: moveCueBall(key, arrowStep(glutGetModifiers())); break;
    case Action::Aim:
    case Action::View: aimOrView(key, arrowStep(glutGetModifiers())); break;
    default: break;
    }
    postRedisplay();
}

void zoom(double dDistance) {
    camera->addOrbit(dDistance, 0.0, 0.0);
    postRedisplay();
}

void turnAim(double degrees) {
    camera->addOrbit(0.0, degrees, 0.0);
    cue->addAngles(degrees, 0.0);
    recordEvent(RecordEvent::of(RecordEventKind::Aim, cue->angle));
}

void setAim(double degrees) {
    camera->addOrbit(0.0, degrees - cue->angle, 0.0);
    cue->addAngles(degrees - cue->angle, 0.0);
    cue->angle = degrees; // exactly: the strike that follows goes where it went
    recordEvent(RecordEvent::of(RecordEventKind::Aim, cue->angle));
}

void newGame(int breaker) {
    game.newGame(breaker);
    recordEvent(RecordEvent::newGame(breaker));
    refusalShown();
    camera->setOrbit(START_DISTANCE, START_AZIMUTH, START_ELEVATION, 0.0, 1.0, 0.0);
    cue->resetAim(START_CUE_ANGLE, START_CUE_ELEVATION);
    recordEvent(RecordEvent::of(RecordEventKind::Aim, cue->angle));
    endCharge();
    followCueBall(); // the cue ball is back on its start spot
    // A stroke under way would otherwise strike the new rack at power 0 and hand the break over.
    installIdle(nullptr);
    postRedisplay();
}

void clearTable() {
    game.clearTable();
    recordEvent(RecordEvent::of(RecordEventKind::Clear));
    postRedisplay();
}
