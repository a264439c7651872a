// Detectable auto-repeat on GLUT's own X connection (the setting belongs to a connection).
// Kept apart from the game's headers: Xlib defines macros (None) that clash with their names.
#include "app/key_repeat.h"

#include <GL/glx.h>
#include <X11/XKBlib.h>

#include <cstdio>

bool enableDetectableAutoRepeat() {
    Display* display = glXGetCurrentDisplay();
    Bool supported = False;
    if (display) XkbSetDetectableAutoRepeat(display, True, &supported);
    if (!supported) {
        std::fprintf(stderr, "The X server cannot report held keys without releases: a held "
                             "space bar strikes at its first repeat.\n");
    }
    return supported;
}
