// The headless world of the simulation tests: a new game, balls put and set rolling by hand.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "render/headless.h"
#include "sim/contact.h"
#include "sim/simulation.h"
#include "sim/strike.h"

// The one headless game of a test process, under the names the game gives its objects.
inline HeadlessGame& headlessGame() {
    static HeadlessGame game;
    return game;
}
inline Ball* (&balls)[BALL_COUNT] = headlessGame().balls;
inline const Table* const table = &headlessGame().table;
inline Referee& referee = headlessGame().referee;

inline void setUpHeadlessGame() { headlessGame().reset(); }
// One frame of dt seconds with the game's console lines.
inline int simulate(double dt) {
    ConsoleContacts console;
    return simulate(balls, *table, referee, console, dt);
}
inline bool allBallsAtRest() { return allBallsAtRest(balls); }

// A new game with only the listed balls (array indexes) left on the table.
inline void keepOnly(std::initializer_list<int> indexes) {
    setUpHeadlessGame();
    for (Ball* ball : balls) ball->pocketed = true;
    for (const int i : indexes) balls[i]->pocketed = false;
}

// Ball `index` at (x, 1, z), rolling at (vx, 0, vz).
inline Ball& place(int index, double x, double z, double vx = 0, double vz = 0) {
    Ball& ball = *balls[index];
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
