// Texture fonts: every glyph in one texture, drawn as textured quads in font units.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

// One glyph record of the font file (12 bytes on disk).
struct FontGlyph {
    uint16_t code = 0;
    uint8_t width = 0;  // texels
    uint8_t height = 0; // texels
    int8_t xOffset = 0; // box left from the pen, font units
    int8_t yOffset = 0; // box bottom from the baseline, font units
    int8_t advance = 0; // pen movement after the glyph, font units
    int16_t x = 0;      // lower-left texel in the texture
    int16_t y = 0;
};

// Each corner keeps its texture coordinate directly before its position: drawing passes both
// by address.
struct GlyphCorner {
    float texCoord[2];
    int16_t position[2];
};

struct GlyphQuad {
    GlyphCorner corners[4]; // lower-left, lower-right, upper-right, upper-left
    float advance;          // font units
};

struct GlyphEntry {
    int code;
    const GlyphQuad* quad;
};

struct TextureFont {
    unsigned int textureName = 0; // 0 until createFontTexture
    int textureWidth = 0;         // texels
    int textureHeight = 0;        // texels
    int maxAscent = 0;
    int maxDescent = 0;
    int glyphCount = 0;
    int minCode = 0;
    int codeRange = 0;                 // highest code - lowest code + 1
    std::vector<unsigned char> texels; // one byte per texel, or (luminance, alpha) pairs
    std::vector<FontGlyph> glyphs;     // file order
    std::vector<GlyphQuad> quads;      // one per glyph, same order
    // One entry per code, sorted by code; a code given twice uses its last glyph in the file.
    // A table by code would cost memory for the whole range however few glyphs there are.
    std::vector<GlyphEntry> lookup;
};

// Turned on once, by the first texture made on a renderer without intensity textures; from
// then on images are kept as luminance-alpha pairs.
extern bool useLuminanceAlpha;

// Returns the font, or null with fontLastError() telling why. Prints nothing.
TextureFont* loadTextureFont(const char* fileName);
// The same from an open stream (not closed).
TextureFont* readTextureFont(std::FILE* file);
void deleteTextureFont(TextureFont* font);
// Text of the last loading failure, "" before any.
const char* fontLastError();

// Makes (textureName 0: generates) and fills the font's texture; returns its name.
unsigned int createFontTexture(TextureFont* font, unsigned int textureName, bool buildMipmaps);
void bindFontTexture(const TextureFont* font);
// The quad for code (a missing letter falls back to its other case), or null when the font has
// no glyph for it; the first miss of each code prints one line on the error stream.
const GlyphQuad* findGlyphQuad(const TextureFont* font, int code);
// Draws one character at the pen and moves the modelview matrix by its advance; a character
// the font lacks is skipped.
void drawGlyph(const TextureFont* font, int code);
// Each byte is taken as a signed char.
void drawString(const TextureFont* font, const char* text, int length);
