// Fixture files for the asset tests, written into a fresh temporary folder per test process, and
// builders of BMP and texture font files.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

// A path inside this process's own temporary folder.
inline std::string assetTempPath(const std::string& name) {
    static const std::string dir = [] {
        std::string pattern = testing::TempDir() + "pool_assets_XXXXXX";
        const char* made = mkdtemp(pattern.data());
        return std::string(made ? made : ".") + "/";
    }();
    return dir + name;
}

inline std::string writeAssetFile(const std::string& name, const std::string& bytes) {
    const std::string path = assetTempPath(name);
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
}

// Appends the low `bytes` bytes of value, least significant first unless `reversed`.
inline void appendNumber(std::string& out, uint32_t value, int bytes, bool reversed = false) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(char(value >> (8 * (reversed ? bytes - 1 - i : i))));
}

struct BmpFields {
    int32_t width = 4, height = 4;
    uint16_t bitsPerPixel = 24;
    uint32_t compression = 0, imageSize = 0, dataOffset = 54; // imageSize 0: "compute it"
    int64_t pixelBytes = -1; // bytes of pixel data present; -1: the padded rows
};

// Pixel byte i holds i % 251, so every position is recognisable.
inline std::string makeBmp(const BmpFields& f) {
    std::string out = "BM";
    for (uint32_t v : {0u, 0u, f.dataOffset, 40u, uint32_t(f.width), uint32_t(f.height)})
        appendNumber(out, v, 4);
    appendNumber(out, 1 + (uint32_t(f.bitsPerPixel) << 16),
                 4); // one plane, then the bits per pixel
    for (uint32_t v : {f.compression, f.imageSize, 0u, 0u, 0u, 0u}) appendNumber(out, v, 4);
    out.resize(f.dataOffset, '\x7F');
    const int64_t bytes =
        f.pixelBytes >= 0 ? f.pixelBytes : ((int64_t(f.width) * 3 + 3) & ~3) * f.height;
    for (int64_t i = 0; i < bytes; ++i) out.push_back(char(i % 251));
    return out;
}

struct TxfGlyph {
    uint16_t code;
    uint8_t width = 4, height = 4;
    int8_t xOffset = 0, yOffset = 0, advance = 5;
    int16_t x = 0, y = 0;
};

struct TxfLayout {
    int32_t format = 0, width = 16, height = 8, ascent = 7, descent = 2;
    std::vector<TxfGlyph> glyphs;
    int32_t glyphCount = -1; // -1: the number of glyphs
    int64_t imageBytes = -1; // -1: exactly what the format needs
    bool reversed = false;   // written by a machine of the other byte order
};

// Image byte i holds i * 7 % 256.
inline std::string makeTxf(const TxfLayout& s) {
    std::string out = "\xFFtxf";
    const int32_t count = s.glyphCount != -1 ? s.glyphCount : int32_t(s.glyphs.size());
    for (int32_t v : {0x12345678, s.format, s.width, s.height, s.ascent, s.descent, count})
        appendNumber(out, uint32_t(v), 4, s.reversed);
    for (const TxfGlyph& g : s.glyphs) {
        appendNumber(out, g.code, 2, s.reversed);
        out += {char(g.width),   char(g.height),  char(g.xOffset),
                char(g.yOffset), char(g.advance), '\0'};
        appendNumber(out, uint16_t(g.x), 2, s.reversed);
        appendNumber(out, uint16_t(g.y), 2, s.reversed);
    }
    const int64_t bytes = s.imageBytes >= 0
                              ? s.imageBytes
                              : (s.format == 1 ? (s.width + 7) / 8 : s.width) * int64_t(s.height);
    for (int64_t i = 0; i < bytes; ++i) out.push_back(char(i * 7 % 256));
    return out;
}
