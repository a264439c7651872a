// The overlay font: printable ASCII from DejaVu Sans Mono (the help texts line up in columns),
// written as a byte-image texture font.
#include <algorithm>
#include <cstdio>

#include "art/art.h"

namespace {

constexpr char FIRST_CODE = 32, LAST_CODE = 126;
// Overlay lines are 50 font units apart at every scale they use; glyphs at most 44 units tall
// leave a gap of 3 pixels at half size and 2.4 at 0.4 size.
constexpr int MAX_LINE_HEIGHT = 44;
constexpr int TEXTURE_WIDTH = 512;
constexpr int PADDING = 2; // texels between glyphs, so filtering never picks up a neighbour

struct PlacedGlyph {
    char code;
    GlyphBitmap bitmap;
    int x = 0, y = 0; // lower-left texel
};

void put32(std::vector<unsigned char>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void put16(std::vector<unsigned char>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

// The largest size whose tallest ascent plus deepest descent fits the line height.
int chooseSize(const std::string& fontFile, int& ascent, int& descent) {
    for (int size = 64; size > 8; --size) {
        GlyphRenderer glyphs(fontFile, size);
        if (!glyphs.ok()) return 0;
        ascent = descent = 0;
        for (char c = FIRST_CODE; c <= LAST_CODE; ++c) {
            const GlyphBitmap g = glyphs.render(c);
            if (g.rows == 0) continue;
            ascent = std::max(ascent, g.top);
            descent = std::max(descent, g.rows - g.top);
        }
        if (ascent + descent <= MAX_LINE_HEIGHT) return size;
    }
    return 0;
}

// Shelf packing from the bottom row up; returns the power-of-two height used.
int pack(std::vector<PlacedGlyph>& glyphs) {
    int x = PADDING, y = PADDING, shelf = 0;
    for (PlacedGlyph& g : glyphs) {
        if (x + g.bitmap.width + PADDING > TEXTURE_WIDTH) {
            x = PADDING;
            y += shelf + PADDING;
            shelf = 0;
        }
        g.x = x;
        g.y = y;
        x += g.bitmap.width + PADDING;
        shelf = std::max(shelf, g.bitmap.rows);
    }
    int height = 1;
    while (height < y + shelf + PADDING) height *= 2;
    return height;
}

} // namespace

bool writeTextureFont(const std::string& dir, const std::string& fontDir) {
    const std::string fontFile = fontDir + "DejaVuSansMono-Bold.ttf";
    int ascent = 0, descent = 0;
    const int size = chooseSize(fontFile, ascent, descent);
    if (size == 0) {
        std::fprintf(stderr, "pool-art: cannot load %s\n", fontFile.c_str());
        return false;
    }
    const GlyphRenderer renderer(fontFile, size);
    std::vector<PlacedGlyph> glyphs;
    for (char c = FIRST_CODE; c <= LAST_CODE; ++c) glyphs.push_back({c, renderer.render(c)});
    const int height = pack(glyphs);

    std::vector<unsigned char> texels(size_t(TEXTURE_WIDTH) * size_t(height), 0);
    for (const PlacedGlyph& g : glyphs)
        for (int row = 0; row < g.bitmap.rows; ++row) // texture rows run bottom-up
            for (int col = 0; col < g.bitmap.width; ++col)
                texels[size_t(g.y + g.bitmap.rows - 1 - row) * TEXTURE_WIDTH + size_t(g.x + col)] =
                    g.bitmap.coverage[size_t(row * g.bitmap.width + col)];

    std::vector<unsigned char> out = {0xFF, 't', 'x', 'f'};
    put32(out, 0x12345678);
    for (int v : {0, TEXTURE_WIDTH, height, ascent, descent, int(glyphs.size())})
        put32(out, uint32_t(v));
    for (const PlacedGlyph& g : glyphs) {
        put16(out, uint16_t(g.code));
        out.push_back(uint8_t(g.bitmap.width));
        out.push_back(uint8_t(g.bitmap.rows));
        out.push_back(uint8_t(int8_t(g.bitmap.left)));
        out.push_back(uint8_t(int8_t(g.bitmap.top - g.bitmap.rows)));
        out.push_back(uint8_t(int8_t(g.bitmap.advance)));
        out.push_back(0);
        put16(out, uint16_t(g.x));
        put16(out, uint16_t(g.y));
    }
    out.insert(out.end(), texels.begin(), texels.end());
    std::FILE* file = std::fopen((dir + "default.txf").c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
