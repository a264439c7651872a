// Helpers of the play tests.
#include "app_play_test_util.h"

#include <GL/freeglut.h>

#include "app/frame_timer.h"
#include "app/keyboard.h"
#include "app/shot.h"
#include "render/cue.h"
#include "render_test_util.h"
#include "sim/referee.h"
#include "support/gl_test_main.h"

// Xlib after the game's headers: it defines macros (None) that clash with their names.
#include <GL/glx.h>
#include <X11/Xlib.h>

int redisplayRequests = 0;

extern "C" void __real_glutPostRedisplay();
extern "C" void __wrap_glutPostRedisplay() {
    ++redisplayRequests;
    __real_glutPostRedisplay();
}

void startPlay() {
    startGame();
    installIdle(nullptr);
    referee.placementRejected = false;
    cue->strokeStep = 0.0;
    glutKeyboardFunc(keyboard);
    glutKeyboardUpFunc(keyboardUp);
    glutSpecialFunc(special);
    redisplayRequests = 0;
}

void setNextFrameTime(double seconds) {
    if (FrameTimer::frequency == 0) FrameTimer::start();
    FrameTimer::lastCount =
        FrameTimer::readCounter() - static_cast<std::int64_t>(seconds * FrameTimer::frequency);
}

int runIdle(double frameSeconds, int maxCalls) {
    for (int calls = 0; calls < maxCalls; ++calls) {
        const IdleCallback idle = installedIdle();
        if (!idle) return calls;
        setNextFrameTime(frameSeconds);
        idle();
    }
    return -1;
}

void sendKey(unsigned long keysym, unsigned int state, bool press) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable();
    XKeyEvent event = {};
    event.type = press ? KeyPress : KeyRelease;
    event.display = display;
    event.window = window;
    event.root = DefaultRootWindow(display);
    event.time = CurrentTime;
    event.state = state;
    event.keycode = XKeysymToKeycode(display, keysym);
    event.same_screen = True;
    XSendEvent(display, window, True, press ? KeyPressMask : KeyReleaseMask,
               reinterpret_cast<XEvent*>(&event));
    XSync(display, False);
    glutMainLoopEvent();
}

void tapKey(unsigned long keysym, unsigned int state) {
    sendKey(keysym, state, true);
    sendKey(keysym, state, false);
}
