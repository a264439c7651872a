// The one texture loader shared by every scene object: a BMP file into a mipmapped texture.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>

#include "assets/bmp.h"
#include "sim/scene_object.h"

void SceneObject::loadTexture() {
    BitmapInfoHeader info;
    unsigned char* pixels = readBitmap(textureFile, &info);
    if (pixels == nullptr) {
        std::printf("Failed to read the bitmap file\n");
        return;
    }
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
    gluBuild2DMipmaps(GL_TEXTURE_2D, GL_RGB, info.width, info.height, GL_RGB, GL_UNSIGNED_BYTE,
                      pixels);
    glDisable(GL_TEXTURE_2D);
    std::free(pixels);
}
