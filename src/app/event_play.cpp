// Events played through the window's own operations.
#include "app/event_play.h"

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "render/cue.h"

void playEvent(const RecordEvent& e) {
    switch (e.kind) {
    case RecordEventKind::NewGame: newGame(e.player); break;
    case RecordEventKind::Aim: setAim(e.value); break;
    case RecordEventKind::Pull:
        cue->pull = e.value;
        postRedisplay();
        break;
    case RecordEventKind::Hover:
    case RecordEventKind::Place:
        game.balls[0].position = Vec3(e.x, PLACING_HEIGHT, e.z);
        if (e.kind == RecordEventKind::Place) placeCueBall();
        postRedisplay();
        break;
    case RecordEventKind::Strike: startShot(e.value); break;
    case RecordEventKind::Frame: playFrame(e.value); break;
    case RecordEventKind::Clear: clearTable(); break;
    case RecordEventKind::Respot: respotCueBall(); break;
    default: break; // an end is a check, a decision time is for statistics
    }
}
