// Frame rate of the main view, measured on demand: scripts/frame_rate.sh runs this disabled test.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "app/shell.h"
#include "render/cue.h"
#include "render/scene.h"
#include "render_test_util.h"
#include "sim/ball.h"

namespace {
constexpr double MEASURE_SECONDS = 5.0;

// Frames per second of the whole display at one window size, the balls turning a little each
// frame as during a shot.
double framesPerSecond(int width, int height) {
    glutReshapeWindow(width, height);
    for (int i = 0; i < 10; ++i) glutMainLoopEvent();
    reshape(width, height);
    cue->visible = false;
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    int frames = 0;
    double seconds = 0.0;
    while (seconds < MEASURE_SECONDS) {
        for (Ball* ball : balls) ball->rotation.x += 0.01;
        display();
        glFinish();
        ++frames;
        seconds = std::chrono::duration<double>(Clock::now() - start).count();
    }
    return frames / seconds;
}

TEST(FrameRate, DISABLED_MainViewAt800x600And1920x1080) {
    startGame();
    std::printf("renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    for (auto [w, h] : {std::pair{800, 600}, std::pair{1920, 1080}}) {
        const double fps = framesPerSecond(w, h);
        std::printf("main view %dx%d: %.1f frames per second\n", w, h, fps);
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_EQ(viewport[2], w);
    }
}
} // namespace
