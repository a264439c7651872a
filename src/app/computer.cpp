// The computer's turn in the window, one timer tick at a time.
#include "app/computer.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <random>

#include "ai/computer_player.h"
#include "app/keyboard.h"
#include "app/mouse.h"
#include "app/network.h"
#include "app/objects.h"
#include "app/options.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "render/cue.h"

namespace {
constexpr int TICK_MS = 15;             // milliseconds between the window's timer calls
constexpr double STEP_SECONDS = 0.015;  // seconds of the computer's turn per step
constexpr double THINK_SLICE = 0.012;   // seconds of search per tick, so frames keep coming
constexpr double TURN_PER_TICK = 2.0;   // degrees: the cue turns smoothly to its aim
constexpr double AIM_REACHED = 1e-9;    // degrees
constexpr int PULL_EVENTS_PER_TICK = 2; // draw-back units per tick, as a held space bar

enum class Phase { Waiting, Thinking, Placing, Turning, Charging };

struct Seat {
    Phase phase = Phase::Waiting;
    std::unique_ptr<ComputerPlayer> players[2];
    ShotPlan plan;
    std::random_device seeds;
    double gameOverSeconds = 0.0; // how long the demonstration's game has been over
    double owedSeconds = 0.0;     // time given to the turn and not yet stepped through
} seat;

bool bothSeats() { return computerPlays[0] && computerPlays[1]; }

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void think() {
    ComputerPlayer& player = *seat.players[game.referee.currentPlayer];
    const auto start = std::chrono::steady_clock::now();
    while (secondsSince(start) < THINK_SLICE) {
        if (!player.think(1)) continue;
        seat.plan = player.plan();
        seat.phase = seat.plan.placesCueBall ? Phase::Placing : Phase::Turning;
        return;
    }
}

// One move of the ball in hand along one axis towards `target`, as an arrow key moves it: Ctrl's
// step while it does not overshoot, then the plain one.
void moveTowards(double position, double target, int lessKey, int moreKey) {
    const double gap = target - position;
    if (gap == 0.0) return;
    const double step = std::fabs(gap) >= CTRL_ARROW_STEP * PLACEMENT_MOVE_PER_DEGREE
                            ? CTRL_ARROW_STEP
                            : PLAIN_ARROW_STEP;
    const int key = gap < 0.0 ? lessKey : moreKey;
    if (game.referee.allows(Action::MoveBall)) moveCueBall(key, step);
}

// On the overhead screen Up lowers x, Down raises it, Right lowers z and Left raises it.
void place() {
    const Vec3& at = game.balls[0].position;
    if (at.x == seat.plan.spot.x && at.z == seat.plan.spot.z) {
        keyboard(KEY_ENTER, 0, 0);
        seat.phase = game.referee.isPlacingCueBall() ? Phase::Waiting : Phase::Turning;
        return;
    }
    moveTowards(at.x, seat.plan.spot.x, GLUT_KEY_UP, GLUT_KEY_DOWN);
    moveTowards(at.z, seat.plan.spot.z, GLUT_KEY_RIGHT, GLUT_KEY_LEFT);
}

void turn() {
    const double gap = std::remainder(seat.plan.angle - cue->angle, 360.0);
    if (std::fabs(gap) <= AIM_REACHED || !game.referee.allows(Action::Aim)) {
        seat.phase = Phase::Charging;
        return;
    }
    turnAim(std::fmax(-TURN_PER_TICK, std::fmin(TURN_PER_TICK, gap)));
    postRedisplay();
}

// Draws the cue back as a held space bar does, then lets go of it.
void charge() {
    for (int k = 0; k < PULL_EVENTS_PER_TICK && cue->pull < seat.plan.power; ++k) chargeShot();
    if (cue->pull < seat.plan.power) return;
    releaseCharge();
    seat.phase = Phase::Waiting;
}

void restartDemonstration() {
    seat.gameOverSeconds += STEP_SECONDS;
    if (seat.gameOverSeconds < DEMONSTRATION_PAUSE) return;
    seat.gameOverSeconds = 0.0;
    newGame();
}

void step() {
    if (networkHoldsPlay()) return; // no opponent to play against yet, or any more
    if (game.referee.isGameOver()) {
        seat.phase = Phase::Waiting;
        if (bothSeats() && installedIdle() == nullptr) restartDemonstration();
        return;
    }
    // A stroke or a shot under way, or the person's turn.
    if (!computerAtTable() || installedIdle() != nullptr) {
        seat.phase = Phase::Waiting;
        return;
    }
    switch (seat.phase) {
    case Phase::Waiting: {
        ComputerPlayer& player = *seat.players[game.referee.currentPlayer];
        player.newGame(seat.seeds());
        player.begin(game);
        seat.phase = Phase::Thinking;
        break;
    }
    case Phase::Thinking: think(); break;
    case Phase::Placing: place(); break;
    case Phase::Turning: turn(); break;
    case Phase::Charging: charge(); break;
    }
}

void tick(int) {
    advanceComputer(TICK_MS / 1000.0);
    glutTimerFunc(TICK_MS, tick, 0);
}

// What the person may do while the computer has the table.
bool admittedDuringComputerTurn(Action action) {
    return action == Action::Quit || action == Action::Zoom || action == Action::NewGame ||
           action == Action::View;
}
} // namespace

void startComputer(const Options& options) {
    computerPlays[0] = options.computerPlays[0];
    computerPlays[1] = options.computerPlays[1];
    if (!computerPlays[0] && !computerPlays[1]) return;
    for (auto& player : seat.players) player = std::make_unique<ComputerPlayer>(options.level);
    glutTimerFunc(TICK_MS, tick, 0);
}

void advanceComputer(double seconds) {
    seat.owedSeconds += seconds;
    while (seat.owedSeconds >= STEP_SECONDS) {
        seat.owedSeconds -= STEP_SECONDS;
        step();
    }
}

bool computerAtTable() {
    return computerPlays[game.referee.currentPlayer] && !game.referee.isGameOver();
}

// The person's space bar is still followed during the computer's turn, so that a key held
// across the change of turn charges nothing until it is pressed again.
void computerKeyboard(unsigned char key, int x, int y) {
    Action action;
    if (computerAtTable() && (!keyAction(key, action) || !admittedDuringComputerTurn(action))) {
        if (key == KEY_SPACE) pressSpace(false);
        return;
    }
    keyboard(key, x, y);
}

void computerKeyboardUp(unsigned char key, int x, int y) {
    if (computerAtTable()) {
        if (key == KEY_SPACE) releaseSpace(false);
        return;
    }
    keyboardUp(key, x, y);
}

void computerSpecial(int key, int x, int y) {
    const Action action = specialKeyAction(key);
    if (computerAtTable() && !admittedDuringComputerTurn(action)) return;
    if (action == Action::NewGame) seat.phase = Phase::Waiting;
    special(key, x, y);
}

void computerMouse(int button, int state, int x, int y) {
    if (computerAtTable() && !isWheel(button)) return;
    mouse(button, state, x, y);
}

void computerMouseMotion(int x, int y) {
    if (!computerAtTable()) mouseMotion(x, y);
}
