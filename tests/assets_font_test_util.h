// Builds texture font files for the font tests, in either byte order.
#pragma once

#include <climits>
#include <string>
#include <vector>

#include "assets_test_util.h"

struct TxfGlyphSpec {
    uint16_t code;
    uint8_t width = 4, height = 4;
    int8_t xOffset = 0, yOffset = 0, advance = 5;
    int16_t x = 0, y = 0;
};

struct TxfLayout {
    int32_t format = 0;
    int32_t width = 16, height = 8;
    int32_t ascent = 7, descent = 2;
    int32_t glyphCount = INT32_MIN; // INT32_MIN: the number of glyphs
    std::vector<TxfGlyphSpec> glyphs;
    bool reversed = false;   // written by a machine of the other byte order
    int64_t imageBytes = -1; // -1: exactly what the format needs
};

inline std::string makeTxf(const TxfLayout& s) {
    auto put = [&s](std::string& out, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (s.reversed ? bytes - 1 - i : i);
            out.push_back(char((v >> shift) & 0xFF));
        }
    };
    std::string out = "\xFFtxf";
    put(out, 0x12345678, 4);
    const int32_t count = s.glyphCount != INT32_MIN ? s.glyphCount : int32_t(s.glyphs.size());
    for (int32_t v : {s.format, s.width, s.height, s.ascent, s.descent, count}) put(out, uint32_t(v), 4);
    for (const TxfGlyphSpec& g : s.glyphs) {
        put(out, g.code, 2);
        out.push_back(char(g.width));
        out.push_back(char(g.height));
        out.push_back(char(g.xOffset));
        out.push_back(char(g.yOffset));
        out.push_back(char(g.advance));
        out.push_back('\0');
        put(out, uint16_t(g.x), 2);
        put(out, uint16_t(g.y), 2);
    }
    const int64_t rowBytes = s.format == 1 ? (s.width + 7) >> 3 : s.width;
    const int64_t bytes = s.imageBytes >= 0 ? s.imageBytes : rowBytes * s.height;
    for (int64_t i = 0; i < bytes; ++i) out.push_back(char(i * 7 % 256));
    return out;
}

inline std::vector<TxfGlyphSpec> glyphRange(int first, int last) {
    std::vector<TxfGlyphSpec> glyphs;
    for (int c = first; c <= last; ++c) glyphs.push_back({uint16_t(c)});
    return glyphs;
}
