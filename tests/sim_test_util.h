// The headless world of the simulation tests: a new game, balls put and set rolling by hand.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "sim/ball.h"
#include "sim/headless.h"
#include "sim/referee.h"
#include "sim/simulation.h"
#include "sim/strike.h"
#include "sim/table.h"

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
