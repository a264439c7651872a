// pool-key-count: counts the key-press events the X server sends a window for one key, up to
// its release. With detectable auto-repeat on its own connection it sees a held key as the
// game does: repeated presses and one release. Prints "ready", then the count.
#include <X11/XKBlib.h>
#include <X11/Xlib.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: pool-key-count WINDOW-ID KEYSYM-NAME\n");
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "pool-key-count: no display\n");
        return 2;
    }
    const Window window = std::strtoul(argv[1], nullptr, 0);
    const KeyCode key = XKeysymToKeycode(display, XStringToKeysym(argv[2]));
    Bool supported = False;
    XkbSetDetectableAutoRepeat(display, True, &supported);
    XSelectInput(display, window, KeyPressMask | KeyReleaseMask);
    XSync(display, False);
    std::printf("ready\n");
    std::fflush(stdout);
    int presses = 0;
    for (;;) {
        XEvent event;
        XNextEvent(display, &event);
        if (event.xkey.keycode != key) continue;
        if (event.type == KeyPress) ++presses;
        if (event.type == KeyRelease) break;
    }
    std::printf("%d\n", presses);
    XCloseDisplay(display);
    return supported ? 0 : 1;
}
