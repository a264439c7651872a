// The generated art, read with the game's own readers: the ball mesh's shape, the font's coverage
// and line height.
#include <cmath>
#include <memory>

#include "assets/glm.h"
#include "assets/texfont.h"
#include "assets_test_util.h"

TEST(GeneratedArt, BallMeshIsAClosedOutwardUnitSphereWithLatitudeTextureCoordinates) {
    ObjReadError error;
    std::unique_ptr<ObjModel, decltype(&glmDelete)> m(glmLoadOBJ("Data/ball.obj", &error), &glmDelete);
    ASSERT_TRUE(m) << error.message;
    EXPECT_TRUE(m->triangleCount >= 1000 && m->triangleCount <= 2000) << m->triangleCount;
    EXPECT_EQ(glmCenterAndScale(m.get()), 1.0f);
    glmBuildFacetNormals(m.get());
    for (unsigned t = 0; t < m->triangleCount; ++t) {
        float centroid[3] = {0, 0, 0};
        for (const unsigned index : {0, 1, 2}) {
            const float* p = &m->vertices[3 * m->triangles[t].vertexIndex[index]];
            EXPECT_NEAR(std::sqrt(glmDotProduct(p, p)), 1.0, 1e-5);
            EXPECT_NEAR(m->texCoords[2 * m->triangles[t].texCoordIndex[index] + 1], std::asin(p[1]) / M_PI + 0.5, 1e-4);
            for (int a = 0; a < 3; ++a) centroid[a] += p[a];
        }
        EXPECT_GT(glmDotProduct(&m->facetNormals[3 * m->triangles[t].facetIndex], centroid), 0.0f) << "triangle " << t;
    }
    glmVertexNormals(m.get(), 90.0f);
    EXPECT_EQ(m->normalCount, m->vertexCount); // smooth everywhere: one normal per position
}

// Overlay lines are 50 font units apart: a line height of 36 to 44 keeps them legible and apart.
TEST(GeneratedArt, FontHoldsPrintableAsciiMonospacedAndFitsTheOverlayLines) {
    std::unique_ptr<TextureFont, decltype(&deleteTextureFont)> font(loadTextureFont("Data/default.txf"), &deleteTextureFont);
    ASSERT_TRUE(font) << fontLastError();
    const int height = font->maxAscent + font->maxDescent;
    EXPECT_TRUE(font->minCode == 32 && font->codeRange == 95 && font->glyphCount == 95 && height >= 36 && height <= 44) << height;
    for (const GlyphQuad& quad : font->quads)
        EXPECT_TRUE(quad.advance == font->quads[0].advance && quad.corners[2].position[1] <= font->maxAscent &&
                    quad.corners[0].position[1] >= -font->maxDescent);
}
