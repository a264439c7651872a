// Fuzzes the texture font reader and the glyph lookup with whole files held in memory.
#include <cstdio>

#include "assets/texfont.h"
#include "fuzz_memory.h"

namespace {

// Text is signed chars: letters of either case (a missing one falls back to the other case)
// and codes at both ends find a glyph or none. Only these codes are ever reported missing, so
// the lookup's memory of reported codes stays small.
constexpr int PROBES[] = {-128, -1, 0, 'A', 'Z', 'a', 'z', 127, 255};

// Index of the glyph findGlyphQuad gives for code, or -1 for none.
long foundGlyph(const TextureFont& font, int code) {
    const GlyphQuad* quad = findGlyphQuad(&font, code);
    if (quad == nullptr) return -1;
    if (quad < font.quads.data() || quad >= font.quads.data() + font.quads.size()) __builtin_trap();
    return quad - font.quads.data();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static char buffer[BUFSIZ];
    std::FILE* file = openMemory(data, size, buffer);
    if (file == nullptr) return 0;
    TextureFont* font = readTextureFont(file);
    std::fclose(file);
    if (font == nullptr) return 0;
    const size_t texels = size_t(font->textureWidth) * size_t(font->textureHeight);
    if (font->texels.size() != texels * (useLuminanceAlpha ? 2 : 1)) __builtin_trap();
    for (const FontGlyph& g : font->glyphs)
        if (g.x < 0 || g.y < 0 || g.x + g.width > font->textureWidth ||
            g.y + g.height > font->textureHeight)
            __builtin_trap();
    // A code finds the last glyph the file gives for it.
    for (size_t i = 0; i < font->glyphs.size(); ++i) {
        const int code = font->glyphs[i].code;
        const long found = foundGlyph(*font, code);
        if (found < long(i) || font->glyphs[size_t(found)].code != code) __builtin_trap();
    }
    for (int code : PROBES) foundGlyph(*font, code);
    deleteTextureFont(font);
    return 0;
}
