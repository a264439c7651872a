// Texture font upload and text drawing.
#include <GL/gl.h>
#include <GL/glu.h>

#include <cstring>

#include "assets/texfont.h"

namespace {

// Old SGI IMPACT drivers lack intensity textures; fonts are then kept as luminance-alpha.
bool rendererLacksIntensity() {
    const char* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
    const char* vendor = reinterpret_cast<const char*>(glGetString(GL_VENDOR));
    if (renderer == nullptr || vendor == nullptr) return false;
    if (std::strcmp(vendor, "SGI") != 0 || std::strncmp(renderer, "IMPACT", 6) != 0) return false;
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    return version != nullptr &&
           (std::strcmp(version, "1.0 Irix 6.2") == 0 || std::strcmp(version, "1.0 Irix 5.3") == 0);
}

void toLuminanceAlpha(TextureFont* font) {
    std::vector<unsigned char> pairs(font->texels.size() * 2);
    for (size_t i = 0; i < font->texels.size(); ++i)
        pairs[2 * i] = pairs[2 * i + 1] = font->texels[i];
    font->texels = std::move(pairs);
}

} // namespace

unsigned int createFontTexture(TextureFont* font, unsigned int textureName, bool buildMipmaps) {
    if (font->textureName == 0) {
        if (textureName != 0) font->textureName = textureName;
        else glGenTextures(1, &font->textureName);
    }
    glBindTexture(GL_TEXTURE_2D, font->textureName);
    if (!useLuminanceAlpha && rendererLacksIntensity()) {
        useLuminanceAlpha = true;
        toLuminanceAlpha(font);
    }
    const GLenum internal = useLuminanceAlpha ? GL_LUMINANCE_ALPHA : GL_INTENSITY4;
    const GLenum format = useLuminanceAlpha ? GL_LUMINANCE_ALPHA : GL_LUMINANCE;
    const int w = font->textureWidth, h = font->textureHeight;
    // Rows of one or two bytes per texel are not padded to 4 bytes.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    if (buildMipmaps)
        gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(internal), w, h, format, GL_UNSIGNED_BYTE,
                          font->texels.data());
    else
        glTexImage2D(GL_TEXTURE_2D, 0, GLint(internal), w, h, 0, format, GL_UNSIGNED_BYTE,
                     font->texels.data());
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return font->textureName;
}

void bindFontTexture(const TextureFont* font) { glBindTexture(GL_TEXTURE_2D, font->textureName); }

void drawGlyph(const TextureFont* font, int code) {
    const GlyphQuad* quad = findGlyphQuad(font, code);
    if (quad == nullptr) return;
    glBegin(GL_QUADS);
    for (const GlyphCorner& corner : quad->corners) {
        glTexCoord2fv(corner.texCoord);
        glVertex2sv(corner.position);
    }
    glEnd();
    glTranslatef(quad->advance, 0.0f, 0.0f);
}

void drawString(const TextureFont* font, const char* text, int length) {
    for (int i = 0; i < length; ++i) drawGlyph(font, static_cast<signed char>(text[i]));
}
