// Asset code against a real GL context: texture upload, what glmDraw sends in each mode (captured
// with GL feedback), and text drawing.
#include <GL/gl.h>

#include <memory>

#include "assets/glm.h"
#include "assets/texfont.h"
#include "assets/texture.h"
#include "assets_test_util.h"

namespace {
// Window x and y, red, green, blue, and texture s and t of each vertex drawn.
std::vector<std::vector<float>> capture(ObjModel* model, unsigned mode) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glmDraw(model, mode);
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<std::vector<float>> vertices;
    for (GLint i = 0; i < used;) { // a polygon token, its vertex count, then 11 floats a vertex
        int count = int(buffer[size_t(i) + 1]);
        for (i += 2; count-- > 0; i += 11) {
            const GLfloat* v = &buffer[size_t(i)];
            vertices.push_back({v[0], v[1], v[3], v[4], v[5], v[7], v[8]});
        }
    }
    return vertices;
}
} // namespace

// Only level 0 is sampled: sides of powers of two keep their pixels and get no smaller levels.
TEST(TextureLoaderGl, UploadsTexelsInRgbOrderAndRescalesOnlyOtherSides) {
    for (const int width : {3, 2}) {
        const std::string file =
            writeAssetFile("rgb.bmp", makeBmp({width, 2, 24, 0, uint32_t(8 * width)}));
        const unsigned int texture = loadTexture(file.c_str());
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint levels[2] = {}, filter = 0, wrap = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &levels[0]);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levels[1]);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, &wrap);
        EXPECT_EQ(
            (std::vector<GLint>{levels[0], levels[1], filter, wrap}),
            (std::vector<GLint>{width == 2 ? 2 : 4, width == 2 ? 0 : 2, GL_LINEAR, GL_REPEAT}));
    }
    // The 2 by 2 image, bound last: rows of 6 bytes padded to 8, stored blue-green-red.
    std::vector<unsigned char> texels(12);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, (std::vector<unsigned char>{2, 1, 0, 5, 4, 3, 10, 9, 8, 13, 12, 11}));
}

TEST(ModelDrawingGl, SendsWhatEachModeAsksForGroupByGroupNewestFirst) {
    writeAssetFile("gl.mtl", "newmtl red\nKd 1 0 0\nnewmtl blue\nKd 0 0 1\n");
    const std::string face = "f 1/1 2/2 3/3\n";
    const std::string path = writeAssetFile(
        "gl.obj", "mtllib gl.mtl\nv 0 0 0\nv 0.5 0 0\nv 0 0.5 0\nvt 0.25 0.5\nvt 0.75 0.5\n"
                  "vt 0.5 1\n" +
                      face + "g a\nusemtl red\n" + face + "g b\nusemtl blue\n" + face);
    ObjReadError error;
    std::unique_ptr<ObjModel, decltype(&glmDelete)> m(glmLoadOBJ(path.c_str(), &error), &glmDelete);
    ASSERT_TRUE(m) << error.message;
    glColor3f(0.25f, 0.5f, 0.75f);
    glTexCoord2f(0, 0);
    EXPECT_EQ(capture(m.get(), 0)[8],
              (std::vector<float>{400, 450, 0.25f, 0.5f, 0.75f, 0, 0})); // (0, 0.5) in 800 by 600
    testing::internal::CaptureStdout();
    const auto coloured =
        capture(m.get(), RENDER_COLOR | RENDER_TEXTURE | RENDER_SMOOTH | RENDER_FLAT);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    ASSERT_EQ(coloured.size(), 9u);
    EXPECT_EQ(coloured[0], (std::vector<float>{400, 300, 0, 0, 1, 0.25f, 0.5f})); // group b: blue
    EXPECT_EQ(coloured[4], (std::vector<float>{600, 300, 1, 0, 0, 0.75f, 0.5f})); // group a: red
    EXPECT_EQ(coloured[8],
              (std::vector<float>{400, 450, 0.8f, 0.8f, 0.8f, 0.5f, 1})); // "default": grey
    capture(m.get(), RENDER_COLOR | RENDER_MATERIAL);
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLfloat diffuse[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse); // the last group drawn is "default"
    EXPECT_EQ(diffuse[0], 0.8f);
    m->materials.clear();
    capture(m.get(), RENDER_COLOR);
    EXPECT_EQ(
        testing::internal::GetCapturedStdout(),
        "glmDraw() warning: flat render mode requested with no facet normals defined.\n"
        "glmDraw() warning: smooth render mode requested with no normals defined.\n"
        "glmDraw() warning: color and material render mode requested using only material mode.\n"
        "glmDraw() warning: color render mode requested with no materials defined.\n");
}

TEST(TextDrawingGl, TheTextureHoldsTheImageAndThePenMovesByTheAdvances) {
    TxfLayout layout;
    layout.format = 1;
    layout.width = 10; // rows of 10 one-byte texels, not padded to 4 bytes
    layout.glyphs = {{'a', 4, 4, 0, 0, 8}, {'b', 4, 4, 0, 0, 9}, {'c', 4, 4, 0, 0, 10}};
    std::unique_ptr<TextureFont, decltype(&deleteTextureFont)> font(
        loadTextureFont(writeAssetFile("three.txf", makeTxf(layout)).c_str()), &deleteTextureFont);
    ASSERT_TRUE(font);
    const unsigned name = createFontTexture(font.get(), 0, false);
    EXPECT_TRUE(name != 0 &&
                createFontTexture(font.get(), 77, false) == name); // a font keeps its first name
    std::vector<unsigned char> texels(80);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, font->texels);
    for (const auto& [text, advance] : {std::pair{"abc", 27.0f}, std::pair{"a?c", 18.0f}}) {
        GLfloat m[16];
        glLoadIdentity();
        testing::internal::CaptureStderr();
        drawString(font.get(), text, 3);
        testing::internal::GetCapturedStderr();
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        EXPECT_EQ(m[12], advance) << text;
    }
    glLoadIdentity();
}
