// Texture font reading and glyph lookup (no GL context needed).
#include <gtest/gtest.h>

#include <memory>

#include "assets/texfont.h"
#include "assets_font_test_util.h"

namespace {

using Font = std::unique_ptr<TextureFont, decltype(&deleteTextureFont)>;

Font load(const std::string& name, const TxfLayout& layout) {
    const std::string path = writeAssetFile(name, makeTxf(layout));
    return Font(loadTextureFont(path.c_str()), &deleteTextureFont);
}

} // namespace

TEST(FontReader, ReadsEitherByteOrder) {
    TxfLayout layout;
    layout.width = 300;
    layout.height = 40;
    layout.glyphs = {{0x141, 3, 4, -2, -3, 9, 258, 20}, {65, 5, 6, 1, 2, 7, 0, 1}};
    for (bool reversed : {false, true}) {
        layout.reversed = reversed;
        Font font = load("order.txf", layout);
        ASSERT_TRUE(font) << fontLastError();
        EXPECT_EQ(font->textureWidth, 300);
        EXPECT_EQ(font->textureHeight, 40);
        EXPECT_EQ(font->maxAscent, 7);
        EXPECT_EQ(font->maxDescent, 2);
        ASSERT_EQ(font->glyphCount, 2);
        const FontGlyph& g = font->glyphs[0];
        EXPECT_EQ(g.code, 0x141);
        EXPECT_EQ(g.x, 258);
        EXPECT_EQ(g.y, 20);
        EXPECT_EQ(g.width, 3);
        EXPECT_EQ(g.xOffset, -2);
        EXPECT_EQ(g.yOffset, -3);
        EXPECT_EQ(g.advance, 9);
        EXPECT_EQ(font->minCode, 65);
        EXPECT_EQ(font->codeRange, 0x141 - 65 + 1);
        EXPECT_EQ(font->texels.size(), 300u * 40u);
        EXPECT_EQ(font->texels[1], 7);
    }
}

TEST(FontReader, BuildsQuadsWithHalfTexelSteps) {
    TxfLayout layout;
    layout.width = 256;
    layout.height = 64;
    layout.glyphs = {{'A', 10, 12, -1, -2, 11, 0, 32}};
    Font font = load("quads.txf", layout);
    ASSERT_TRUE(font);
    const GlyphQuad& q = font->quads[0];
    EXPECT_FLOAT_EQ(q.corners[0].texCoord[0], 0.5f / 256);
    EXPECT_FLOAT_EQ(q.corners[0].texCoord[1], 32.0f / 64 + 0.5f / 64);
    EXPECT_FLOAT_EQ(q.corners[2].texCoord[0], 10.0f / 256 + 0.5f / 256);
    EXPECT_FLOAT_EQ(q.corners[2].texCoord[1], 44.0f / 64 + 0.5f / 64);
    EXPECT_EQ(q.corners[0].position[0], -1);
    EXPECT_EQ(q.corners[0].position[1], -2);
    EXPECT_EQ(q.corners[1].position[0], 9);
    EXPECT_EQ(q.corners[2].position[1], 10);
    EXPECT_EQ(q.corners[3].position[0], -1);
    EXPECT_FLOAT_EQ(q.advance, 11.0f);
}

TEST(FontReader, UnpacksBitmapImagesLeastSignificantBitFirst) {
    TxfLayout layout;
    layout.format = 1;
    layout.width = 10; // two bytes per row
    layout.height = 2;
    layout.glyphs = glyphRange('a', 'a');
    std::string bytes = makeTxf(layout);
    const size_t image = bytes.size() - 4;
    bytes[image + 0] = char(0x01); // row 0: texel 0
    bytes[image + 1] = char(0x02); // row 0: texel 9 is bit 1 of the second byte
    bytes[image + 2] = 0;
    bytes[image + 3] = char(0x80); // row 1: bit 7 of the second byte lies past the row's 10 texels
    Font font(loadTextureFont(writeAssetFile("bits.txf", bytes).c_str()), &deleteTextureFont);
    ASSERT_TRUE(font);
    ASSERT_EQ(font->texels.size(), 20u);
    std::vector<unsigned char> expected(20, 0);
    expected[0] = expected[9] = 255;
    EXPECT_EQ(font->texels, expected);
}

TEST(FontReader, RejectsBrokenFiles) {
    struct Case {
        const char* what;
        std::string bytes;
        const char* error;
    };
    auto layout = [](auto change) {
        TxfLayout s;
        s.glyphs = glyphRange('a', 'c');
        change(s);
        return makeTxf(s);
    };
    const std::string good = layout([](TxfLayout&) {});
    std::string badMagic = good, badMarker = good;
    badMagic[1] = 'T';
    badMarker[5] = 0x11;
    const std::vector<Case> cases = {
        {"three bytes", good.substr(0, 3), "not a texture font file."},
        {"wrong magic", badMagic, "not a texture font file."},
        {"no marker", good.substr(0, 6), "not a texture font file."},
        {"unknown marker", badMarker, "not a texture font file."},
        {"header cut short", good.substr(0, 20), "premature end of file."},
        {"glyph records cut short", good.substr(0, 32 + 20), "premature end of file."},
        {"image cut short", good.substr(0, good.size() - 1), "premature end of file."},
        {"no glyphs", layout([](TxfLayout& s) { s.glyphs.clear(); }), "not a texture font file."},
        {"negative glyph count", layout([](TxfLayout& s) { s.glyphCount = -3; }), "not a texture font file."},
        {"glyph count beyond the file", layout([](TxfLayout& s) { s.glyphCount = 0x7FFFFFFF; }), "premature end of file."},
        {"zero width", layout([](TxfLayout& s) { s.width = 0; }), "not a texture font file."},
        {"negative height", layout([](TxfLayout& s) { s.height = -8; s.imageBytes = 0; }), "not a texture font file."},
        {"absurd size", layout([](TxfLayout& s) { s.width = s.height = 0x10000000; s.imageBytes = 0; }),
         "not a texture font file."},
        {"largest size, no image", layout([](TxfLayout& s) { s.width = s.height = 16384; s.imageBytes = 0; }),
         "premature end of file."},
        {"unknown image format", layout([](TxfLayout& s) { s.format = 2; }), "not a texture font file."},
    };
    for (const Case& c : cases) {
        const std::string path = writeAssetFile("broken.txf", c.bytes);
        EXPECT_EQ(loadTextureFont(path.c_str()), nullptr) << c.what;
        EXPECT_STREQ(fontLastError(), c.error) << c.what;
    }
    EXPECT_EQ(loadTextureFont(assetTempPath("absent.txf").c_str()), nullptr);
    EXPECT_STREQ(fontLastError(), "file open failed.");
}

TEST(FontReader, ClampsGlyphBoxesToTheTexture) {
    TxfLayout layout;
    layout.glyphs = {{'a', 10, 6, 0, 0, 5, 12, 4}, {'b', 4, 4, 0, 0, 5, -3, -1}};
    Font font = load("clamped.txf", layout);
    ASSERT_TRUE(font);
    const FontGlyph& a = font->glyphs[0];
    EXPECT_EQ(a.x, 12);
    EXPECT_EQ(a.width, 4); // texture is 16 wide
    EXPECT_EQ(a.height, 4); // and 8 high
    const FontGlyph& b = font->glyphs[1];
    EXPECT_EQ(b.x, 0);
    EXPECT_EQ(b.y, 0);
    for (const GlyphQuad& q : font->quads)
        for (const GlyphCorner& c : q.corners) {
            EXPECT_LE(c.texCoord[0], 1.0f + 0.5f / 16);
            EXPECT_LE(c.texCoord[1], 1.0f + 0.5f / 8);
        }
}

TEST(GlyphLookup, FindsCodesInRangeAndRetriesTheOtherCase) {
    TxfLayout upper;
    upper.glyphs = glyphRange(32, 90);
    Font font = load("upper.txf", upper);
    ASSERT_TRUE(font);
    EXPECT_EQ(font->codeRange, 59);
    EXPECT_EQ(findGlyphQuad(font.get(), 65), &font->quads[65 - 32]);

    TxfLayout noSmallA;
    noSmallA.glyphs = glyphRange(32, 122);
    noSmallA.glyphs.erase(noSmallA.glyphs.begin() + (97 - 32));
    Font mixed = load("mixed.txf", noSmallA);
    ASSERT_TRUE(mixed);
    EXPECT_EQ(findGlyphQuad(mixed.get(), 97), findGlyphQuad(mixed.get(), 65));
}

// A missing character is skipped with one line per code instead of ending the game.
TEST(GlyphLookup, MissingCharactersAreReportedOnceAndSkipped) {
    TxfLayout upper;
    upper.glyphs = glyphRange(32, 90);
    Font font = load("upper2.txf", upper);
    ASSERT_TRUE(font);
    testing::internal::CaptureStderr();
    EXPECT_EQ(findGlyphQuad(font.get(), 'q'), nullptr); // outside the range: no case retry
    EXPECT_EQ(findGlyphQuad(font.get(), 'q'), nullptr);
    EXPECT_EQ(findGlyphQuad(font.get(), -61), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "texfont: tried to access unavailable font character \"q\" (113)\n"
              "texfont: tried to access unavailable font character \" \" (-61)\n");

    TxfLayout gap;
    gap.glyphs = glyphRange(32, 122);
    gap.glyphs.erase(gap.glyphs.begin() + (98 - 32)); // 'b'
    gap.glyphs.erase(gap.glyphs.begin() + (66 - 32)); // 'B'
    Font gappy = load("gap.txf", gap);
    ASSERT_TRUE(gappy);
    testing::internal::CaptureStderr();
    EXPECT_EQ(findGlyphQuad(gappy.get(), 'b'), nullptr);
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "texfont: tried to access unavailable font character \"B\" (66)\n");
}
