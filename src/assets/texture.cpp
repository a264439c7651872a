// The one texture loader shared by every scene object: a BMP file into a texture.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "assets/bmp.h"
#include "assets/texture.h"

namespace {
bool isPowerOfTwo(int32_t n) { return n > 0 && (n & (n - 1)) == 0; }

// gluBuild2DMipmaps replaces level 0 with a rescaled copy when a side is not a power of two or
// exceeds the largest texture; otherwise its level 0 is the one glTexImage2D already made.
bool mipmapsChangeLevelZero(int32_t width, int32_t height) {
    GLint largest = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &largest);
    return !isPowerOfTwo(width) || !isPowerOfTwo(height) || width > largest || height > largest;
}
} // namespace

unsigned int loadTexture(const char* textureFile) {
    BitmapInfoHeader info;
    unsigned char* pixels = readBitmap(textureFile, &info);
    if (pixels == nullptr) {
        std::printf("Failed to read the bitmap file\n");
        std::fprintf(stderr, "Cannot read the texture %s: %s.\n", textureFile, bitmapLastError());
        std::fflush(stdout); // a pipe or a file sees it before the game ends
        return 0;
    }
    unsigned int textureId = 0;
    glGenTextures(1, &textureId);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4); // BMP rows are padded to 4 bytes
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB, info.width, info.height, 0, GL_RGB, GL_UNSIGNED_BYTE,
                 pixels);
    // The minification filter is GL_LINEAR, so only level 0 is ever sampled: the smaller levels
    // (a third more memory, and 40 ms of the game's start-up) are built only when building them
    // rescales level 0.
    if (mipmapsChangeLevelZero(info.width, info.height)) {
        gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, info.width, info.height, GL_RGB, GL_UNSIGNED_BYTE,
                          pixels);
    }
    glDisable(GL_TEXTURE_2D);
    std::free(pixels);
    return textureId;
}
