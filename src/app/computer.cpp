// The computer's turn in the window, one timer tick at a time.
#include "app/computer.h"

#include <GL/freeglut.h>

#include <chrono>
#include <cmath>
#include <memory>
#include <random>

#include "ai/computer_player.h"
#include "app/keyboard.h"
#include "app/objects.h"
#include "app/options.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "render/cue.h"

namespace {
constexpr int TICK_MS = 15;                // milliseconds between the computer's steps
constexpr double THINK_SLICE = 0.012;      // seconds of search per tick, so frames keep coming
constexpr double TURN_PER_TICK = 2.0;      // degrees: the cue turns smoothly to its aim
constexpr double AIM_REACHED = 1e-9;       // degrees
constexpr int PULL_EVENTS_PER_TICK = 2;    // draw-back units per tick, as a held space bar
constexpr double MOVE_STEP = 1.0;          // degrees of arrow step (Ctrl): half a unit a move
constexpr double FINE_MOVE_STEP = 0.5;     // degrees of arrow step: a quarter of a unit
constexpr double MOVE_UNITS_PER_STEP = 0.5; // world units per degree of arrow step

enum class Phase { Waiting, Thinking, Placing, Turning, Charging };

struct Seat {
    Phase phase = Phase::Waiting;
    std::unique_ptr<ComputerPlayer> players[2];
    ShotPlan plan;
    std::random_device seeds;
    double gameOverSeconds = 0.0; // how long the demonstration's game has been over
} seat;

bool bothSeats() { return computerPlays[0] && computerPlays[1]; }

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void think() {
    ComputerPlayer& player = *seat.players[referee.currentPlayer];
    const auto start = std::chrono::steady_clock::now();
    while (secondsSince(start) < THINK_SLICE) {
        if (!player.think(1)) continue;
        seat.plan = player.plan();
        seat.phase = seat.plan.placesCueBall ? Phase::Placing : Phase::Turning;
        return;
    }
}

// One move of the ball in hand along one axis towards `target`, as an arrow key moves it.
void moveTowards(double position, double target, int lessKey, int moreKey) {
    const double gap = target - position;
    if (gap == 0.0) return;
    const double step = std::fabs(gap) >= MOVE_STEP * MOVE_UNITS_PER_STEP ? MOVE_STEP
                                                                          : FINE_MOVE_STEP;
    const int key = gap < 0.0 ? lessKey : moreKey;
    if (referee.specialKeyAllowed(key)) moveCueBall(key, step);
}

// On the overhead screen Up lowers x, Down raises it, Right lowers z and Left raises it.
void place() {
    const Vec3& at = balls[0]->position;
    if (at.x == seat.plan.spot.x && at.z == seat.plan.spot.z) {
        keyboard(KEY_ENTER, 0, 0);
        seat.phase = referee.isPlacingCueBall() ? Phase::Waiting : Phase::Turning;
        return;
    }
    moveTowards(at.x, seat.plan.spot.x, GLUT_KEY_UP, GLUT_KEY_DOWN);
    moveTowards(at.z, seat.plan.spot.z, GLUT_KEY_RIGHT, GLUT_KEY_LEFT);
}

void turn() {
    const double gap = std::remainder(seat.plan.angle - cue->angle, 360.0);
    if (std::fabs(gap) <= AIM_REACHED || !referee.specialKeyAllowed(GLUT_KEY_RIGHT)) {
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
    seat.gameOverSeconds += TICK_MS / 1000.0;
    if (seat.gameOverSeconds < DEMONSTRATION_PAUSE) return;
    seat.gameOverSeconds = 0.0;
    newGame();
}

void step() {
    if (referee.isGameOver()) {
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
        ComputerPlayer& player = *seat.players[referee.currentPlayer];
        player.newGame(seat.seeds());
        player.begin(GameState::save(balls, referee), *table);
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
    step();
    glutTimerFunc(TICK_MS, tick, 0);
}

// Keys the person may use while the computer has the table.
bool admittedDuringComputerTurn(unsigned char key) {
    return key == KEY_ESCAPE || key == 'z' || key == 'x';
}

bool specialAdmittedDuringComputerTurn(int key) {
    if (key == SPECIAL_KEY_F10) return true;
    return (key == GLUT_KEY_UP || key == GLUT_KEY_DOWN) && !referee.isPlacingCueBall();
}
} // namespace

void startComputer(const Options& options) {
    computerPlays[0] = options.computerPlays[0];
    computerPlays[1] = options.computerPlays[1];
    if (!computerPlays[0] && !computerPlays[1]) return;
    for (auto& player : seat.players) player = std::make_unique<ComputerPlayer>(options.level);
    glutTimerFunc(TICK_MS, tick, 0);
}

bool computerAtTable() { return computerPlays[referee.currentPlayer] && !referee.isGameOver(); }

// The person's space bar is still followed during the computer's turn, so that a key held
// across the change of turn charges nothing until it is pressed again.
void computerKeyboard(unsigned char key, int x, int y) {
    if (computerAtTable() && !admittedDuringComputerTurn(key)) {
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
    if (computerAtTable() && !specialAdmittedDuringComputerTurn(key)) return;
    if (key == SPECIAL_KEY_F10) seat.phase = Phase::Waiting;
    special(key, x, y);
}
