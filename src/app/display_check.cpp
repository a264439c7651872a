// The start-up check for an X display, made before GLUT would stop with its own message, and
// the leak check of sanitized builds. Kept apart from the game's headers: Xlib defines macros
// (None) that clash with their names.
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

#include "app/shell.h"

void requireDisplay(const char* programPath) {
    Display* x = XOpenDisplay(nullptr);
    if (x) {
        XCloseDisplay(x);
        return;
    }
    const char* name = std::getenv("DISPLAY");
    std::fprintf(stderr,
                 "%s: cannot open the X display \"%s\"; run it on a desktop, or under a virtual "
                 "display: xvfb-run -a -s \"-screen 0 1920x1080x24\" %s\n",
                 programPath, name ? name : "", programPath);
    std::exit(1);
}

// The leak check of the sanitizer runtime; linked in sanitized builds only.
extern "C" __attribute__((weak)) void __lsan_do_leak_check();

void checkLeaksBeforeTheDriverUnloads() {
    // Handlers registered after the driver was loaded run before it is unloaded.
    if (__lsan_do_leak_check) std::atexit(__lsan_do_leak_check);
}
