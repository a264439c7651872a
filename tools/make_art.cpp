// pool-art: writes every art file the game reads (balls, felt, bricks, ball mesh, font) into
// the given folder, the same bytes on every run.
#include <cstdio>
#include <string>

#include "art/art.h"

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: pool-art OUTPUT_DIR [FONT_DIR]\n");
        return 2;
    }
    std::string dir = argv[1];
    if (dir.back() != '/') dir += '/';
    std::string fontDir = argc == 3 ? argv[2] : "/usr/share/fonts/truetype/dejavu/";
    if (fontDir.back() != '/') fontDir += '/';
    const bool ok = writeBallTextures(dir, fontDir) && writeBallMesh(dir) && writeFelt(dir) &&
                    writeBrickWall(dir) && writeTextureFont(dir, fontDir);
    if (!ok) {
        std::fprintf(stderr, "pool-art: could not write the art into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
