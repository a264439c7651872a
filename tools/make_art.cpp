// pool-art: writes every art file the game reads (balls, felt, bricks, ball mesh, font, the
// window's icon) into the given folder, or the desktop icon, the same bytes on every run.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "art/art.h"

namespace {
constexpr int ICON_BALL = 8;
constexpr int WINDOW_ICON_SIZE = 64; // the game's window carries it

std::string folder(const char* path) {
    std::string dir = path;
    if (!dir.empty() && dir.back() != '/') dir += '/'; // an empty one is the working folder
    return dir;
}

// pool-art --icon FILE.png SIZE [FONT_DIR]
int writeIcon(int argc, char** argv) {
    const int size = argc >= 4 ? std::atoi(argv[3]) : 0;
    if (argc < 4 || argc > 5 || size <= 0) {
        std::fprintf(stderr, "usage: pool-art --icon FILE.png SIZE [FONT_DIR]\n");
        return 2;
    }
    const std::string fontDir = folder(argc == 5 ? argv[4] : "/usr/share/fonts/truetype/dejavu/");
    if (!writeBallIcon(argv[2], ICON_BALL, size, fontDir)) {
        std::fprintf(stderr, "pool-art: could not write the icon %s\n", argv[2]);
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--icon") return writeIcon(argc, argv);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: pool-art OUTPUT_DIR [FONT_DIR]\n"
                             "       pool-art --icon FILE.png SIZE [FONT_DIR]\n");
        return 2;
    }
    const std::string dir = folder(argv[1]);
    const std::string fontDir = folder(argc == 3 ? argv[2] : "/usr/share/fonts/truetype/dejavu/");
    const bool ok = writeBallTextures(dir, fontDir) && writeBallMesh(dir) && writeFelt(dir) &&
                    writeBrickWall(dir) && writeTextureFont(dir, fontDir) &&
                    writeBallIcon(dir + "icon.png", ICON_BALL, WINDOW_ICON_SIZE, fontDir);
    if (!ok) {
        std::fprintf(stderr, "pool-art: could not write the art into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
