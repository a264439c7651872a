// Helpers of the game's GL tests: a fresh game for every test, counted redisplay requests, and
// points compared.
#pragma once

#include <gtest/gtest.h>

#include <array>

#include "sim/vec3.h"

using Xyz = std::array<double, 3>;
inline Xyz xyz(const Vec3& v) { return {v.x, v.y, v.z}; }
inline void expectNear(const Xyz& got, const Xyz& want, double tolerance) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "coordinate " << i;
}

struct Options;

// Redisplays the game asked for since the last reset.
extern int redisplayRequests;

// Runs the game's start-up once per process (the test window is current), then a new game as
// F10 starts it, no idle callback, the window size 800x600, no redisplay counted.
void startPlay();
// startPlay, then ball in hand as a scratch leaves it: the cue ball lifted over the centre, the
// view over it.
void giveBallInHand();
// Options with the computer at the seats given, at `level`.
Options seats(bool first, bool second, int level);
