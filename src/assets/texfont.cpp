// Texture font reading and glyph lookup (no GL needed): sizes are checked against the file
// before anything is allocated, and glyph boxes are clamped to the texture.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>
#include <set>

#include "assets/open_file.h"
#include "assets/texfont.h"

bool useLuminanceAlpha = false;

namespace {

constexpr unsigned char FONT_MAGIC[4] = {0xFF, 't', 'x', 'f'};
constexpr uint32_t SAME_ORDER = 0x12345678;
constexpr uint32_t REVERSED_ORDER = 0x78563412;
constexpr int FORMAT_BYTE_IMAGE = 0;
constexpr int FORMAT_BITMAP_IMAGE = 1;
constexpr int MAX_TEXTURE_SIDE = 16384; // texels; larger than any GL implementation accepts
constexpr int GLYPH_RECORD_BYTES = 12;

const char* lastError = "";

struct FontError {
    const char* text;
};

uint16_t swap16(uint16_t v) { return uint16_t((v >> 8) | (v << 8)); }
uint32_t swap32(uint32_t v) {
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

class FontReader {
public:
    FontReader(std::FILE* file) : file_(file) {}

    void header(TextureFont& font);
    void glyphs(TextureFont& font);
    void image(TextureFont& font);

private:
    void read(void* to, size_t bytes, const char* failure) {
        if (std::fread(to, 1, bytes, file_) != bytes) throw FontError{failure};
    }
    int32_t readInt() {
        uint32_t v;
        read(&v, 4, "premature end of file.");
        return int32_t(swap_ ? swap32(v) : v);
    }
    long remainingBytes();

    std::FILE* file_;
    bool swap_ = false;
    int format_ = 0;
};

void FontReader::header(TextureFont& font) {
    unsigned char magic[4];
    read(magic, 4, "not a texture font file.");
    if (std::memcmp(magic, FONT_MAGIC, 4) != 0) throw FontError{"not a texture font file."};
    uint32_t marker;
    read(&marker, 4, "not a texture font file.");
    if (marker != SAME_ORDER && marker != REVERSED_ORDER)
        throw FontError{"not a texture font file."};
    swap_ = marker == REVERSED_ORDER;
    format_ = readInt();
    font.textureWidth = readInt();
    font.textureHeight = readInt();
    font.maxAscent = readInt();
    font.maxDescent = readInt();
    font.glyphCount = readInt();
    // A font without glyphs, an image of no or absurd size, or an image format nobody can
    // upload is no texture font.
    if (font.glyphCount <= 0 || font.textureWidth <= 0 || font.textureHeight <= 0 ||
        font.textureWidth > MAX_TEXTURE_SIDE || font.textureHeight > MAX_TEXTURE_SIDE ||
        (format_ != FORMAT_BYTE_IMAGE && format_ != FORMAT_BITMAP_IMAGE))
        throw FontError{"not a texture font file."};
}

long FontReader::remainingBytes() {
    const long here = std::ftell(file_);
    if (here < 0 || std::fseek(file_, 0, SEEK_END) != 0) throw FontError{"premature end of file."};
    const long end = std::ftell(file_);
    if (end < here || std::fseek(file_, here, SEEK_SET) != 0)
        throw FontError{"premature end of file."};
    return end - here;
}

// A glyph box that reaches outside the texture is cut to the part inside it.
void clampToTexture(FontGlyph& g, int width, int height) {
    g.x = int16_t(std::clamp<int>(g.x, 0, width));
    g.y = int16_t(std::clamp<int>(g.y, 0, height));
    g.width = uint8_t(std::min<int>(g.width, width - g.x));
    g.height = uint8_t(std::min<int>(g.height, height - g.y));
}

GlyphQuad quadOf(const FontGlyph& g, float w, float h) {
    const float xs = 0.5f / w, ys = 0.5f / h;
    const float left = g.x / w + xs, right = (g.x + g.width) / w + xs;
    const float bottom = g.y / h + ys, top = (g.y + g.height) / h + ys;
    const int16_t x0 = g.xOffset, y0 = g.yOffset;
    const int16_t x1 = int16_t(g.xOffset + g.width), y1 = int16_t(g.yOffset + g.height);
    return GlyphQuad{{{{left, bottom}, {x0, y0}},
                      {{right, bottom}, {x1, y0}},
                      {{right, top}, {x1, y1}},
                      {{left, top}, {x0, y1}}},
                     float(g.advance)};
}

void FontReader::glyphs(TextureFont& font) {
    if (remainingBytes() / GLYPH_RECORD_BYTES < font.glyphCount)
        throw FontError{"premature end of file."};
    font.glyphs.resize(size_t(font.glyphCount));
    int lowest = 0xFFFF, highest = 0;
    for (FontGlyph& g : font.glyphs) {
        unsigned char r[GLYPH_RECORD_BYTES];
        read(r, sizeof r, "premature end of file.");
        uint16_t code, x, y;
        std::memcpy(&code, r, 2);
        std::memcpy(&x, r + 8, 2);
        std::memcpy(&y, r + 10, 2);
        g.code = swap_ ? swap16(code) : code;
        g.width = r[2];
        g.height = r[3];
        g.xOffset = int8_t(r[4]);
        g.yOffset = int8_t(r[5]);
        g.advance = int8_t(r[6]);
        g.x = int16_t(swap_ ? swap16(x) : x);
        g.y = int16_t(swap_ ? swap16(y) : y);
        clampToTexture(g, font.textureWidth, font.textureHeight);
        lowest = std::min<int>(lowest, g.code);
        highest = std::max<int>(highest, g.code);
    }
    font.quads.reserve(font.glyphs.size());
    for (const FontGlyph& g : font.glyphs)
        font.quads.push_back(quadOf(g, float(font.textureWidth), float(font.textureHeight)));
    font.minCode = lowest;
    font.codeRange = highest - lowest + 1;
    font.lookup.reserve(font.glyphs.size());
    for (size_t i = 0; i < font.glyphs.size(); ++i)
        font.lookup.push_back({font.glyphs[i].code, &font.quads[i]});
    // Within a code the later glyph sorts first, so that it is the one kept.
    std::sort(font.lookup.begin(), font.lookup.end(), [](const GlyphEntry& a, const GlyphEntry& b) {
        return a.code != b.code ? a.code < b.code : a.quad > b.quad;
    });
    auto sameCode = [](const GlyphEntry& a, const GlyphEntry& b) { return a.code == b.code; };
    font.lookup.erase(std::unique(font.lookup.begin(), font.lookup.end(), sameCode),
                      font.lookup.end());
}

void FontReader::image(TextureFont& font) {
    const size_t texels = size_t(font.textureWidth) * size_t(font.textureHeight);
    const size_t rowBytes = format_ == FORMAT_BYTE_IMAGE ? size_t(font.textureWidth)
                                                         : size_t((font.textureWidth + 7) >> 3);
    const size_t bytes = rowBytes * size_t(font.textureHeight);
    if (size_t(remainingBytes()) < bytes) throw FontError{"premature end of file."};
    std::vector<unsigned char> stored(bytes);
    read(stored.data(), bytes, "premature end of file.");
    const size_t perTexel = useLuminanceAlpha ? 2 : 1;
    if (format_ == FORMAT_BYTE_IMAGE && perTexel == 1) {
        font.texels = std::move(stored);
        return;
    }
    font.texels.assign(texels * perTexel, 0);
    for (size_t row = 0; row < size_t(font.textureHeight); ++row)
        for (size_t j = 0; j < size_t(font.textureWidth); ++j) {
            const unsigned char value =
                format_ == FORMAT_BYTE_IMAGE
                    ? stored[row * rowBytes + j]
                    : ((stored[row * rowBytes + (j >> 3)] >> (j & 7)) & 1) * 255;
            unsigned char* texel = &font.texels[(row * size_t(font.textureWidth) + j) * perTexel];
            std::fill(texel, texel + perTexel, value);
        }
}

} // namespace

TextureFont* readTextureFont(std::FILE* file) {
    try {
        auto font = std::make_unique<TextureFont>();
        FontReader reader(file);
        reader.header(*font);
        reader.glyphs(*font);
        reader.image(*font);
        return font.release();
    } catch (const FontError& error) {
        lastError = error.text;
    } catch (const std::bad_alloc&) {
        lastError = "out of memory.";
    }
    return nullptr;
}

TextureFont* loadTextureFont(const char* fileName) {
    std::FILE* file = openFileForReading(fileName, "rb");
    if (file == nullptr) {
        lastError = errno == EISDIR ? "it is a folder." : "file open failed.";
        return nullptr;
    }
    TextureFont* font = readTextureFont(file);
    std::fclose(file);
    return font;
}

void deleteTextureFont(TextureFont* font) { delete font; }

const char* fontLastError() { return lastError; }

const GlyphQuad* findGlyphQuad(const TextureFont* font, int code) {
    auto entry = [font](int c) -> const GlyphQuad* {
        const auto& table = font->lookup;
        auto found =
            std::lower_bound(table.begin(), table.end(), c,
                             [](const GlyphEntry& e, int wanted) { return e.code < wanted; });
        return found != table.end() && found->code == c ? found->quad : nullptr;
    };
    if (const GlyphQuad* quad = entry(code)) return quad;
    int tried = code;
    if (code >= font->minCode && code < font->minCode + font->codeRange) {
        if (code >= 'a' && code <= 'z') tried = code - 'a' + 'A';
        else if (code >= 'A' && code <= 'Z') tried = code - 'A' + 'a';
        if (const GlyphQuad* quad = entry(tried)) return quad;
    }
    // A missing character is skipped; saying so once per code keeps the console readable.
    static std::set<int> reported;
    if (reported.insert(tried).second) {
        const int shown = tried >= 32 && tried < 127 ? tried : ' ';
        std::fprintf(stderr, "texfont: tried to access unavailable font character \"%c\" (%d)\n",
                     shown, tried);
    }
    return nullptr;
}
