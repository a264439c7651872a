// The generated art, checked with the game's own readers: sizes, colours where the ball mapping
// puts them, seamless tiling, the mesh's shape and winding, the font's coverage and line height,
// and that the generator writes the same bytes every time.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "assets/bmp.h"
#include "assets/glm.h"
#include "assets/texfont.h"
#include "assets_test_util.h"

namespace {

struct Bitmap {
    BitmapInfoHeader info;
    std::unique_ptr<unsigned char, decltype(&std::free)> pixels{nullptr, &std::free};

    explicit Bitmap(const std::string& path) { pixels.reset(readBitmap(path.c_str(), &info)); }
    // Texel at (u, v) of the texture, v = 0 being the first (bottom) row.
    std::vector<int> at(double u, double v) const {
        const int x = std::min(int(u * info.width), info.width - 1), y = std::min(int(v * info.height), info.height - 1);
        const unsigned char* p = pixels.get() + (size_t(y) * size_t(info.width) + size_t(x)) * 3;
        return {p[0], p[1], p[2]};
    }
};

bool isPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }
bool isWhite(const std::vector<int>& c) { return c[0] > 220 && c[1] > 220 && c[2] > 200; }

// The colour step across the wrap is no larger than across the middle of the image, which
// lies at the same phase of any pattern that repeats 2, 4, 8... times per tile.
void expectSeamless(const Bitmap& b, const char* name) {
    const int w = b.info.width, h = b.info.height;
    auto diff = [&](int x0, int y0, int x1, int y1) {
        const std::vector<int> p = b.at((x0 + 0.5) / w, (y0 + 0.5) / h), q = b.at((x1 + 0.5) / w, (y1 + 0.5) / h);
        return std::abs(p[0] - q[0]) + std::abs(p[1] - q[1]) + std::abs(p[2] - q[2]);
    };
    double insideX = 0, acrossX = 0, insideY = 0, acrossY = 0;
    for (int i = 0; i < h; ++i) {
        insideX += diff(w / 2 - 1, i, w / 2, i);
        acrossX += diff(w - 1, i, 0, i);
    }
    for (int i = 0; i < w; ++i) {
        insideY += diff(i, h / 2 - 1, i, h / 2);
        acrossY += diff(i, h - 1, i, 0);
    }
    EXPECT_LT(acrossX / h, 1.5 * insideX / h + 8) << name;
    EXPECT_LT(acrossY / w, 1.5 * insideY / w + 8) << name;
}

} // namespace

TEST(GeneratedArt, BallTexturesShowTheirColoursWhereTheMeshPutsThem) {
    // Solid colour of each ball number, as one dominant channel pattern.
    for (int number = 0; number <= 15; ++number) {
        const Bitmap b("Data/ball" + std::to_string(number) + ".bmp");
        ASSERT_TRUE(b.pixels) << number;
        EXPECT_EQ(b.info.bitsPerPixel, 24);
        EXPECT_TRUE(isPowerOfTwo(b.info.width) && isPowerOfTwo(b.info.height)) << number;
        EXPECT_EQ(b.info.width, 2 * b.info.height);
        // u = 0 and u = 0.5 face +z and -z: number discs (white around the digit).
        for (double u : {0.0, 0.5}) EXPECT_TRUE(isWhite(b.at(u, 0.5 + 0.36 / 3.14159))) << number;
        const std::vector<int> side = b.at(0.25, 0.5), pole = b.at(0.25, 0.99);
        if (number == 0) {
            EXPECT_TRUE(isWhite(side) && isWhite(pole));
        } else {
            EXPECT_FALSE(isWhite(side)) << number;
            EXPECT_EQ(isWhite(pole), number > 8) << number;
            if (number > 8) {
                EXPECT_EQ(side, Bitmap("Data/ball" + std::to_string(number - 8) + ".bmp").at(0.25, 0.5));
            }
        }
    }
    EXPECT_LT(Bitmap("Data/ball8.bmp").at(0.25, 0.5)[0], 40);
}

TEST(GeneratedArt, FeltAndBricksTileWithoutSeams) {
    for (const char* name : {"Data/tablefelt.bmp", "Data/brickwall.bmp"}) {
        const Bitmap b(name);
        ASSERT_TRUE(b.pixels) << name;
        EXPECT_TRUE(isPowerOfTwo(b.info.width) && isPowerOfTwo(b.info.height)) << name;
        expectSeamless(b, name);
    }
    const std::vector<int> felt = Bitmap("Data/tablefelt.bmp").at(0.3, 0.6);
    EXPECT_GT(felt[1], felt[0] + 40);
}

TEST(GeneratedArt, BallMeshIsAClosedOutwardSphereWithMatchingTextureCoordinates) {
    ObjReadError error;
    std::unique_ptr<ObjModel, decltype(&glmDelete)> m(glmLoadOBJ("Data/ball.obj", &error), &glmDelete);
    ASSERT_TRUE(m) << error.message;
    EXPECT_GE(m->triangleCount, 1000u);
    EXPECT_LE(m->triangleCount, 2000u);
    EXPECT_EQ(m->materialCount, 2u);
    EXPECT_FLOAT_EQ(glmCenterAndScale(m.get()), 1.0f);
    glmBuildFacetNormals(m.get());
    for (unsigned int i = 1; i <= m->vertexCount; ++i) {
        const float* p = &m->vertices[3 * i];
        EXPECT_NEAR(std::sqrt(glmDotProduct(p, p)), 1.0, 1e-5);
    }
    // Every corner has texture coordinates and no file normals: one face form throughout.
    for (unsigned int t = 0; t < m->triangleCount; ++t) {
        const ObjTriangle& tri = m->triangles[t];
        float centroid[3] = {0, 0, 0};
        float uMin = 1, uMax = 0;
        for (int k = 0; k < 3; ++k) {
            ASSERT_NE(tri.texCoordIndex[k], 0u);
            EXPECT_EQ(tri.normalIndex[k], 0u);
            for (int a = 0; a < 3; ++a) centroid[a] += m->vertices[3 * tri.vertexIndex[k] + a];
            const float* uv = &m->texCoords[2 * tri.texCoordIndex[k]];
            uMin = std::min(uMin, uv[0]);
            uMax = std::max(uMax, uv[0]);
            // v follows the latitude, so texels land where the textures expect them.
            const float y = m->vertices[3 * tri.vertexIndex[k] + 1];
            EXPECT_NEAR(uv[1], std::asin(std::max(-1.0f, std::min(1.0f, y))) / 3.14159265f + 0.5f, 1e-4);
        }
        EXPECT_GT(glmDotProduct(&m->facetNormals[3 * tri.facetIndex], centroid), 0.0f) << "triangle " << t;
        EXPECT_LT(uMax - uMin, 0.1f) << "triangle " << t << " wraps across the seam";
    }
    glmVertexNormals(m.get(), 90.0f);
    EXPECT_EQ(m->normalCount, m->vertexCount); // smooth everywhere: one normal per position
}

TEST(GeneratedArt, FontHoldsPrintableAsciiAndFitsTheOverlayLines) {
    std::unique_ptr<TextureFont, decltype(&deleteTextureFont)> font(loadTextureFont("Data/default.txf"),
                                                                     &deleteTextureFont);
    ASSERT_TRUE(font) << fontLastError();
    EXPECT_TRUE(isPowerOfTwo(font->textureWidth) && isPowerOfTwo(font->textureHeight));
    EXPECT_EQ(font->minCode, 32);
    EXPECT_EQ(font->codeRange, 95);
    // Overlay lines are 50 font units apart; a gap of at least 6 units keeps them apart.
    EXPECT_LE(font->maxAscent + font->maxDescent, 44);
    EXPECT_GE(font->maxAscent + font->maxDescent, 36); // and no smaller than needed to stay legible
    for (int code = 32; code <= 126; ++code) {
        const GlyphQuad* quad = findGlyphQuad(font.get(), code);
        ASSERT_NE(quad, nullptr) << code;
        EXPECT_EQ(quad->advance, findGlyphQuad(font.get(), 'M')->advance) << code; // monospaced
        EXPECT_LE(quad->corners[2].position[1], font->maxAscent) << code;
        EXPECT_GE(quad->corners[0].position[1], -font->maxDescent) << code;
    }
    long ink = 0;
    for (unsigned char t : font->texels) ink += t;
    EXPECT_GT(ink, 0);
}

TEST(GeneratedArt, GeneratorWritesTheSameBytesEveryTime) {
    const std::string dir = assetTempPath("again");
    const std::string command = std::string(POOL_ART_EXE) + " " + dir + " > /dev/null";
    ASSERT_EQ(std::system(("mkdir -p " + dir).c_str()), 0);
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::vector<std::string> files = {"tablefelt.bmp", "brickwall.bmp", "ball.obj", "ball.mtl", "default.txf"};
    for (int n = 0; n <= 15; ++n) files.push_back("ball" + std::to_string(n) + ".bmp");
    for (const std::string& f : files) {
        const std::string built = readAssetFile("Data/" + f);
        EXPECT_FALSE(built.empty()) << f;
        EXPECT_TRUE(built == readAssetFile(dir + "/" + f)) << f;
    }
}
