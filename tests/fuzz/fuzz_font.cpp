// Fuzzes the texture font reader and the glyph lookup with whole files held in memory.
#include <cstdio>

#include "assets/texfont.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (file == nullptr) return 0;
    TextureFont* font = readTextureFont(file);
    std::fclose(file);
    if (font == nullptr) return 0;
    const size_t texels = size_t(font->textureWidth) * size_t(font->textureHeight);
    if (font->texels.size() != texels * (useLuminanceAlpha ? 2 : 1)) __builtin_trap();
    for (const FontGlyph& g : font->glyphs)
        if (g.x < 0 || g.y < 0 || g.x + g.width > font->textureWidth || g.y + g.height > font->textureHeight)
            __builtin_trap();
    for (int code = -128; code < 256; ++code) {
        const GlyphQuad* quad = findGlyphQuad(font, code);
        if (quad != nullptr && (quad < font->quads.data() || quad >= font->quads.data() + font->quads.size()))
            __builtin_trap();
    }
    deleteTextureFont(font);
    return 0;
}
