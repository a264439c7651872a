// Helpers of the game's GL tests: a fresh game for every test, shots played out with a fixed
// frame time, pixels and stencil values read back, and counted redisplay requests.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "sim/vec3.h"

using Rgb = std::array<int, 3>;
using Xyz = std::array<double, 3>;
inline Xyz xyz(const Vec3& v) { return {v.x, v.y, v.z}; }
inline void expectNear(const Xyz& got, const Xyz& want, double tolerance) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "coordinate " << i;
}

// Redisplays asked for since the last reset; the test link wraps glutPostRedisplay.
extern int redisplayRequests;

// Runs the game's start-up once per process (the test window is current), then a new game as
// F10 starts it, every toggle on, no idle callback, the window size 800x600, no redisplay counted.
void startPlay();
// Makes the next frame-timer reading report `seconds` since the last one.
void setNextFrameTime(double seconds);
// Runs the installed idle callback, each frame lasting frameSeconds, until none is left; returns
// the number of calls made, or -1 after maxCalls.
int runIdle(double frameSeconds = 1.0 / 60.0, int maxCalls = 100000);

// The overhead box the overlays use for an 800x600 window, over the depth range given.
void overheadProjection(double zNear, double zFar);
// Clears everything and draws one scene pass into the back buffer.
void renderScene(int passFlags);
// Colour and stencil value of the back buffer's pixel at a world point.
Rgb colourAt(double x, double y, double z);
int stencilAt(double x, double y, double z);
// The whole 800x600 back buffer, RGB, rows bottom to top.
std::vector<unsigned char> readBackBuffer();
