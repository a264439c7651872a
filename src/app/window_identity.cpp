// The game window's class and icon, set through Xlib: freeglut has no call for either. Kept
// apart from the game's headers: Xlib defines macros (None) that clash with their names.
#include "app/window_identity.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <png.h>

#include <cstdio>
#include <vector>

namespace {
// _NET_WM_ICON's value: the width, the height, then one ARGB pixel per long, row by row.
bool readIcon(const char* file, std::vector<unsigned long>& icon) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file)) return false;
    image.format = PNG_FORMAT_RGBA;
    std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) return false;
    icon = {image.width, image.height};
    for (size_t at = 0; at < rgba.size(); at += 4)
        icon.push_back((unsigned long)rgba[at + 3] << 24 | (unsigned long)rgba[at] << 16 |
                       (unsigned long)rgba[at + 1] << 8 | rgba[at + 2]);
    return true;
}
} // namespace

void identifyWindow(const char* iconFile) {
    Display* display = glXGetCurrentDisplay();
    const Window window = glXGetCurrentDrawable(); // freeglut draws straight into its window
    if (display == nullptr || window == 0) return;
    XClassHint hint{const_cast<char*>(WINDOW_CLASS), const_cast<char*>(WINDOW_CLASS)};
    XSetClassHint(display, window, &hint);
    std::vector<unsigned long> icon;
    if (readIcon(iconFile, icon))
        XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL,
                        32, PropModeReplace, reinterpret_cast<unsigned char*>(icon.data()),
                        int(icon.size()));
    else std::fprintf(stderr, "pool: cannot read the window's icon %s\n", iconFile);
    XFlush(display);
}
