// The console's contact lines.
#include "sim/contact.h"

#include <cstdio>

void ConsoleContacts::contact(const Contact& c) {
    if (failed) return;
    static const char* const WHAT[] = {"ball  ", "wall  ", "corner", "pocket"};
    if (std::printf("Ball %2d collided with %s %2d\n", c.ball, WHAT[int(c.kind)], c.other) < 0)
        failed = true;
    pending = true;
}

void ConsoleContacts::endFrame() {
    if (!pending || failed) return;
    pending = false;
    if (std::fflush(stdout) != 0) failed = true;
}
