// Helpers of the game's GL tests: start-up, the frame timer and the redisplay count.
#include "game_test_util.h"

#include <GL/freeglut.h>

#include "app/frame_timer.h"
#include "app/keyboard.h"
#include "app/objects.h"
#include "app/shell.h"
#include "render/cue.h"
#include "render/scene.h"
#include "support/gl_test_main.h"

int redisplayRequests = 0;

void startPlay() {
    static bool started = false;
    if (!started) {
        init();
        postRedisplay = [] {
            ++redisplayRequests;
            glutPostRedisplay();
        };
    }
    started = true;
    newGame();
    lightingEnabled = shadowsEnabled = texturingEnabled = true;
    referee.placementRejected = false;
    cue->strokeStep = 0.0;
    reshape(GL_TEST_WIDTH, GL_TEST_HEIGHT);
    redisplayRequests = 0;
}

void setNextFrameTime(double seconds) {
    if (FrameTimer::frequency == 0) FrameTimer::start();
    FrameTimer::lastCount = FrameTimer::readCounter() - std::int64_t(seconds * FrameTimer::frequency);
}
