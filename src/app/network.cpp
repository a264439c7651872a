// The network game in the window, serviced by a timer so that the window draws while it waits.
#include "app/network.h"

#include <GL/freeglut.h>

#include <cstdlib>
#include <memory>

#include "app/command_line.h"
#include "app/computer.h"
#include "app/event_play.h"
#include "app/keyboard.h"
#include "app/mouse.h"
#include "app/objects.h"
#include "app/options.h"
#include "app/recording.h"
#include "app/shell.h"
#include "app/shot.h"
#include "net/session.h"

namespace {
constexpr int SERVICE_MS = 10; // between services of the connection

struct Network {
    std::unique_ptr<NetSession> session;
    bool playingRemote = false; // an event of the other machine is being played
    int gamesStarted = 1;
    double gameOverSeconds = 0.0; // how long the game has been over, on the host
    std::string note;
} net;

// This machine's events go to the other one, a move only in its own turn (a new game's aim
// comes to both sides with the rack); the ends of every shot go both ways, so that each side
// compares the other's state with its own.
void eventHappened(const RecordEvent& event) {
    const bool end = event.kind == RecordEventKind::End;
    if (end) net.session->shotEnded(event.hash, !net.playingRemote);
    const bool ownMove = !net.playingRemote && !(turnBound(event.kind) && remoteAtTable());
    if (ownMove || end) net.session->send(event);
}

void playRemoteEvents() {
    RecordEvent event;
    while (net.session->nextEvent(game, event)) {
        net.playingRemote = true;
        playEvent(event);
        net.playingRemote = false;
        net.session->played(event, game);
    }
}

// The host racks the next game a few seconds after a win, the break taken in turn.
void rackWhenDue() {
    if (net.session->localSeat() != 0 || !game.referee.isGameOver()) {
        net.gameOverSeconds = 0.0;
        return;
    }
    net.gameOverSeconds += SERVICE_MS / 1000.0;
    if (net.gameOverSeconds < NEXT_GAME_PAUSE) return;
    net.gameOverSeconds = 0.0;
    newGame(net.gamesStarted++ % 2);
}

void tick(int) {
    const NetSession::State before = net.session->state();
    net.session->service();
    // A joiner that never got into the game (no host there, refused) has nothing to show.
    if (net.session->state() == NetSession::State::Ended && !net.session->began() &&
        net.session->localSeat() == 1)
        std::exit(1);
    if (net.session->state() == NetSession::State::Playing) {
        playRemoteEvents();
        rackWhenDue();
    }
    if (net.session->state() != before || net.note != net.session->status()) {
        net.note = net.session->status();
        postRedisplay();
    }
    glutTimerFunc(SERVICE_MS, tick, 0);
}

bool admittedDuringRemoteTurn(Action action) {
    return action == Action::Quit || action == Action::Zoom || action == Action::View;
}
} // namespace

bool startNetwork(const Options& options, std::string& error) {
    if (options.network.port == 0) return true;
    net.session = std::make_unique<NetSession>();
    NetSession::Settings settings;
    settings.hosting = options.network.hosting;
    settings.address = options.network.address;
    settings.port = options.network.port;
    settings.key = options.network.key;
    settings.program = programVersion();
    if (!net.session->start(settings, error)) return false;
    net.note = net.session->status();
    setEventListener(eventHappened);
    glutTimerFunc(SERVICE_MS, tick, 0);
    return true;
}

bool networkGame() { return net.session != nullptr; }

bool remoteAtTable() { return net.session && net.session->remoteAtTable(game); }

bool networkHoldsPlay() {
    return net.session && net.session->state() != NetSession::State::Playing;
}

int remoteSeat() { return net.session ? 1 - net.session->localSeat() : -1; }

const std::string& networkNote() { return net.note; }

// The space bar is still followed during the other machine's turn, so that a key held across
// the change of turn charges nothing until it is pressed again.
void networkKeyboard(unsigned char key, int x, int y) {
    Action action;
    const bool known = keyAction(key, action);
    const bool held = remoteAtTable() || networkHoldsPlay();
    if (held && (!known || !admittedDuringRemoteTurn(action))) {
        if (key == KEY_SPACE) pressSpace(false);
        return;
    }
    computerKeyboard(key, x, y);
}

void networkKeyboardUp(unsigned char key, int x, int y) {
    if (remoteAtTable() || networkHoldsPlay()) {
        if (key == KEY_SPACE) releaseSpace(false);
        return;
    }
    computerKeyboardUp(key, x, y);
}

void networkSpecial(int key, int x, int y) {
    const Action action = specialKeyAction(key);
    if (action == Action::NewGame || action == Action::ClearTable) return;
    if ((remoteAtTable() || networkHoldsPlay()) && !admittedDuringRemoteTurn(action)) return;
    computerSpecial(key, x, y);
}

void networkMouse(int button, int state, int x, int y) {
    if ((remoteAtTable() || networkHoldsPlay()) && !isWheel(button)) return;
    computerMouse(button, state, x, y);
}

void networkMouseMotion(int x, int y) {
    if (!remoteAtTable() && !networkHoldsPlay()) computerMouseMotion(x, y);
}
