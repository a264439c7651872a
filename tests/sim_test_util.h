// The headless world of the simulation tests: a new game, balls put and set rolling by hand.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "sim/contact.h"
#include "sim/game.h"
#include "sim/strike.h"

// The game of a test process, under the names of its parts.
inline Game& testGame() {
    static Game game;
    return game;
}
inline Ball (&balls)[BALL_COUNT] = testGame().balls;
inline const Table* const table = &testGame().table;
inline Referee& referee = testGame().referee;

inline void setUpHeadlessGame() { testGame().newGame(); }
// One frame of dt seconds with the game's console lines.
inline int simulate(double dt) {
    ConsoleContacts console;
    return testGame().playFrame(dt, console);
}
inline bool allBallsAtRest() { return testGame().atRest(); }

// A new game with only the listed balls (array indexes) left on the table.
inline void keepOnly(std::initializer_list<int> indexes) {
    setUpHeadlessGame();
    for (Ball& ball : balls) ball.pocketed = true;
    for (const int i : indexes) balls[i].pocketed = false;
}

// Ball `index` at (x, 1, z), rolling at (vx, 0, vz).
inline Ball& place(int index, double x, double z, double vx = 0, double vz = 0) {
    Ball& ball = balls[index];
    ball.position = Vec3(x, 1, z);
    ball.velocity = Vec3(vx, 0, vz);
    ball.setRolling();
    return ball;
}

// What f prints: the contact lines.
template <class F> std::string printed(F f) {
    testing::internal::CaptureStdout();
    f();
    return testing::internal::GetCapturedStdout();
}
