// FreeType glyph rendering for the art generator.
#include <ft2build.h>
#include FT_FREETYPE_H

#include "art/art.h"

GlyphRenderer::GlyphRenderer(const std::string& fontFile, int pixelSize) {
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return;
    library_ = library;
    FT_Face face = nullptr;
    if (FT_New_Face(library, fontFile.c_str(), 0, &face) != 0) return;
    if (FT_Set_Pixel_Sizes(face, 0, FT_UInt(pixelSize)) != 0) {
        FT_Done_Face(face);
        return;
    }
    face_ = face;
}

GlyphRenderer::~GlyphRenderer() {
    if (face_ != nullptr) FT_Done_Face(static_cast<FT_Face>(face_));
    if (library_ != nullptr) FT_Done_FreeType(static_cast<FT_Library>(library_));
}

GlyphBitmap GlyphRenderer::render(char c) const {
    GlyphBitmap glyph;
    auto face = static_cast<FT_Face>(face_);
    if (FT_Load_Char(face, FT_ULong(static_cast<unsigned char>(c)), FT_LOAD_RENDER) != 0)
        return glyph;
    const FT_GlyphSlot slot = face->glyph;
    glyph.width = int(slot->bitmap.width);
    glyph.rows = int(slot->bitmap.rows);
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = int((slot->advance.x + 32) >> 6);
    glyph.coverage.resize(size_t(glyph.width) * size_t(glyph.rows));
    for (int y = 0; y < glyph.rows; ++y)
        for (int x = 0; x < glyph.width; ++x)
            glyph.coverage[size_t(y * glyph.width + x)] =
                slot->bitmap.buffer[y * slot->bitmap.pitch + x];
    return glyph;
}
