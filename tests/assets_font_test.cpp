// Texture font reading and glyph lookup (no GL context needed).
#include <memory>

#include "assets/texfont.h"
#include "assets_test_util.h"

namespace {
using Font = std::unique_ptr<TextureFont, decltype(&deleteTextureFont)>;

Font load(const std::string& bytes) {
    return Font(loadTextureFont(writeAssetFile("font.txf", bytes).c_str()), &deleteTextureFont);
}
} // namespace

// Glyph boxes are cut to the texture; quads put their texture coordinates on texel centres.
TEST(FontReader, ReadsEitherByteOrderGlyphBoxesAndQuads) {
    TxfLayout layout;
    layout.width = 256;
    layout.height = 64;
    layout.glyphs = {{0x141, 3, 4, -2, -3, 9, 250, 20},
                     {'A', 10, 12, -1, -2, 11, 0, 32},
                     {'B', 9, 9, 0, 0, 5, 252, 60},
                     {'C', 4, 4, 0, 0, 5, -3, -1}};
    for (const bool reversed : {false, true}) {
        layout.reversed = reversed;
        const Font font = load(makeTxf(layout));
        ASSERT_TRUE(font) << fontLastError();
        EXPECT_EQ((std::vector<int>{font->textureWidth, font->textureHeight, font->maxAscent,
                                    font->maxDescent, font->glyphCount, font->minCode,
                                    font->codeRange, font->texels[1]}),
                  (std::vector<int>{256, 64, 7, 2, 4, 'A', 0x141 - 'A' + 1, 7}));
        EXPECT_EQ(font->texels.size(), 256u * 64u);
        const std::vector<int> boxes[] = {{0x141, 250, 20, 3, 4, -2, -3, 9},
                                          {'B', 252, 60, 4, 4, 0, 0, 5},
                                          {'C', 0, 0, 4, 4, 0, 0, 5}};
        for (const auto& [g, box] : {std::pair{font->glyphs[0], boxes[0]},
                                     {font->glyphs[2], boxes[1]},
                                     {font->glyphs[3], boxes[2]}})
            EXPECT_EQ((std::vector<int>{g.code, g.x, g.y, g.width, g.height, g.xOffset, g.yOffset,
                                        g.advance}),
                      box);
        const GlyphQuad& q = font->quads[1]; // 'A': 10 by 12 texels at (0, 32)
        EXPECT_EQ(
            (std::vector<float>{q.corners[0].texCoord[0], q.corners[0].texCoord[1],
                                q.corners[2].texCoord[0], q.corners[2].texCoord[1], q.advance}),
            (std::vector<float>{0.5f / 256, 32.5f / 64, 10.5f / 256, 44.5f / 64, 11}));
        EXPECT_EQ((std::vector<int>{q.corners[0].position[0], q.corners[0].position[1],
                                    q.corners[1].position[0], q.corners[2].position[1],
                                    q.corners[3].position[0], q.corners[3].position[1]}),
                  (std::vector<int>{-1, -2, 9, 10, -1, 10}));
    }
}

TEST(FontReader, UnpacksBitmapImagesLeastSignificantBitFirst) {
    TxfLayout layout;
    layout.format = 1;
    layout.width = 10; // two bytes a row
    layout.height = 2;
    layout.glyphs = {{'a'}};
    std::string bytes = makeTxf(layout);
    bytes.replace(bytes.size() - 4, 4,
                  std::string("\x01\x02\x00\x80", 4)); // bit 7 of row 1 lies past its 10 texels
    const Font font = load(bytes);
    ASSERT_TRUE(font) << fontLastError();
    std::vector<unsigned char> expected(20, 0);
    expected[0] = expected[9] = 255;
    EXPECT_EQ(font->texels, expected);
}

TEST(FontReader, RejectsBrokenFiles) {
    const auto font = [](auto change) {
        TxfLayout s;
        s.glyphs = {{'a'}, {'b'}, {'c'}};
        change(s);
        return makeTxf(s);
    };
    const std::string good = font([](TxfLayout&) {}), notTxf = "not a texture font file.",
                      cut = "premature end of file.";
    const std::string cases[][2] = {
        {good.substr(0, 3), notTxf},
        {"\xFFTxf" + good.substr(4), notTxf},
        {good.substr(0, 6), notTxf},                           // no byte order marker
        {good.substr(0, 5) + "\x11" + good.substr(6), notTxf}, // an unknown one
        {good.substr(0, 20), cut},                             // the header
        {good.substr(0, 32 + 20), cut},                        // the glyph records
        {good.substr(0, good.size() - 1), cut},                // the image
        {font([](TxfLayout& s) { s.glyphs.clear(); }), notTxf},
        {font([](TxfLayout& s) { s.glyphCount = -3; }), notTxf},
        {font([](TxfLayout& s) { s.glyphCount = 0x7FFFFFFF; }), cut},
        {font([](TxfLayout& s) { s.width = 0; }), notTxf},
        {font([](TxfLayout& s) { s.height = -8, s.imageBytes = 0; }), notTxf},
        {font([](TxfLayout& s) { s.width = 16385, s.imageBytes = 0; }), notTxf},
        {font([](TxfLayout& s) { s.width = s.height = 16384, s.imageBytes = 0; }), cut},
        {font([](TxfLayout& s) { s.format = 2; }), notTxf},
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(load(c[0])) << c[0].size() << " bytes, " << c[1];
        EXPECT_EQ(fontLastError(), c[1]) << c[0].size() << " bytes";
    }
    EXPECT_EQ(loadTextureFont(assetTempPath("absent.txf").c_str()), nullptr);
    EXPECT_STREQ(fontLastError(), "file open failed.");
}

// A missing letter falls back to its other case; a character still missing is skipped, with one
// line on the error stream the first time.
TEST(GlyphLookup, FindsCodesRetriesTheOtherCaseAndReportsEachMissOnce) {
    TxfLayout layout;
    for (int c = 32; c <= '|'; ++c)
        if (c != 'a' && c != 'b' && c != 'B' && c != 'z' && c != '{')
            layout.glyphs.push_back({uint16_t(c)});
    const Font font = load(makeTxf(layout));
    ASSERT_TRUE(font);
    EXPECT_EQ(findGlyphQuad(font.get(), 'A'), &font->quads['A' - 32]);
    EXPECT_EQ(findGlyphQuad(font.get(), 'a'), &font->quads['A' - 32]);
    EXPECT_EQ(findGlyphQuad(font.get(), 'z'), &font->quads['Z' - 33]); // B is missing before Z
    testing::internal::CaptureStderr();
    for (const int code : {98, 98, 123, -61}) // 'b' twice, '{' (no letter), -61 (out of range)
        EXPECT_EQ(findGlyphQuad(font.get(), code), nullptr) << code;
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "texfont: tried to access unavailable font character \"B\" (66)\n"
              "texfont: tried to access unavailable font character \"{\" (123)\n"
              "texfont: tried to access unavailable font character \" \" (-61)\n");
}
