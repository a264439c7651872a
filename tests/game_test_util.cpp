// Helpers of the game's GL tests: start-up, the frame timer and read-back.
#include "game_test_util.h"

#include <GL/freeglut.h>

#include "app/frame_timer.h"
#include "app/keyboard.h"
#include "app/shell.h"
#include "app/shot.h"
#include "render/cue.h"
#include "render/scene.h"
#include "sim/referee.h"
#include "support/gl_test_main.h"

int redisplayRequests = 0;

// The link wraps glutPostRedisplay (see tests/CMakeLists.txt) to count the requests.
extern "C" void __real_glutPostRedisplay();
extern "C" void __wrap_glutPostRedisplay() {
    ++redisplayRequests;
    __real_glutPostRedisplay();
}

void startPlay() {
    static bool started = false;
    if (!started) init();
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

int runIdle(double frameSeconds, int maxCalls) {
    for (int calls = 0; calls < maxCalls; ++calls) {
        if (!installedIdle()) return calls;
        setNextFrameTime(frameSeconds);
        installedIdle()();
    }
    return -1;
}

void overheadProjection(double zNear, double zFar) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(-50.0, 50.0, 28.0 - 100.0 * GL_TEST_HEIGHT / GL_TEST_WIDTH, 28.0, zNear, zFar);
    glMatrixMode(GL_MODELVIEW);
}

void renderScene(int passFlags) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawScene(passFlags);
    glFinish();
}

// Reads the back buffer's pixel at a world point.
static void readAt(const Xyz& point, GLenum format, GLenum type, void* out) {
    double model[16], projection[16], x = 0, y = 0, z = 0;
    int viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(point[0], point[1], point[2], model, projection, viewport, &x, &y, &z);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(int(x), int(y), 1, 1, format, type, out);
}

Rgb colourAt(double x, double y, double z) {
    unsigned char p[3] = {};
    readAt({x, y, z}, GL_RGB, GL_UNSIGNED_BYTE, p);
    return {p[0], p[1], p[2]};
}

int stencilAt(double x, double y, double z) {
    GLuint value = 0;
    readAt({x, y, z}, GL_STENCIL_INDEX, GL_UNSIGNED_INT, &value);
    return int(value);
}

std::vector<unsigned char> readBackBuffer() {
    std::vector<unsigned char> rgb(GL_TEST_WIDTH * GL_TEST_HEIGHT * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}
