// Asset code against a real GL context: texture upload, what glmDraw sends (captured with GL
// feedback), text drawing, and the generated ball mesh and textures drawn together.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "assets/ball_model.h"
#include "assets/glm.h"
#include "assets/texfont.h"
#include "assets_font_test_util.h"
#include "sim/scene_object.h"
#include "support/gl_test_main.h"

namespace {

struct TexturedThing : SceneObject {
    void draw(bool, bool, bool, int) override {}
};

void resetView() {
    glViewport(0, 0, GL_TEST_WIDTH, GL_TEST_HEIGHT);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_COLOR_MATERIAL);
}

// One captured vertex: window position, colour and texture coordinate.
struct FedVertex {
    float x, y, r, g, b, s, t;
};

std::vector<FedVertex> capture(ObjModel* model, unsigned int mode) {
    std::vector<GLfloat> buffer(1 << 16);
    glFeedbackBuffer(GLsizei(buffer.size()), GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glmDraw(model, mode);
    const GLint used = glRenderMode(GL_RENDER);
    std::vector<FedVertex> vertices;
    for (GLint i = 0; i < used;) {
        EXPECT_EQ(buffer[size_t(i)], GL_POLYGON_TOKEN);
        const int n = int(buffer[size_t(i) + 1]);
        i += 2;
        for (int k = 0; k < n; ++k, i += 11) {
            const GLfloat* v = &buffer[size_t(i)];
            vertices.push_back({v[0], v[1], v[3], v[4], v[5], v[7], v[8]});
        }
    }
    return vertices;
}

using Model = std::unique_ptr<ObjModel, decltype(&glmDelete)>;

// Groups a and b with their own materials, after one face in "default"; corner normals point
// progressively away from the viewer.
Model groupModel() {
    writeAssetFile("gl.mtl", "newmtl red\nKd 1 0 0\nnewmtl blue\nKd 0 0 1\n");
    const std::string path = writeAssetFile(
        "gl.obj", "mtllib gl.mtl\nv 0 0 0\nv 0.5 0 0\nv 0 0.5 0\n"
                  "vt 0.25 0.5\nvt 0.75 0.5\nvt 0.5 1\nvn 0 0 1\nvn 0 0.6 0.8\nvn 0.8 0 0.6\n"
                  "f 1/1/1 2/2/2 3/3/3\ng a\nusemtl red\nf 1/1/1 2/2/2 3/3/3\ng b\nusemtl blue\nf 1/1/1 2/2/2 3/3/3\n");
    ObjReadError error;
    Model m(glmLoadOBJ(path.c_str(), &error), &glmDelete);
    EXPECT_TRUE(m) << error.message;
    glmBuildFacetNormals(m.get());
    return m;
}

void lightFromViewer() {
    const GLfloat direction[4] = {0, 0, 1, 0}, white[4] = {1, 1, 1, 1}, black[4] = {0, 0, 0, 1};
    glLightfv(GL_LIGHT0, GL_POSITION, direction);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT0, GL_AMBIENT, black);
    glLightfv(GL_LIGHT0, GL_SPECULAR, black);
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, black);
    glEnable(GL_LIGHT0);
    glEnable(GL_LIGHTING);
    glMaterialfv(GL_FRONT_AND_BACK, GL_AMBIENT_AND_DIFFUSE, white);
    glMaterialfv(GL_FRONT_AND_BACK, GL_SPECULAR, black);
}

} // namespace

TEST(TextureLoaderGl, UploadsTexelsInRgbOrder) {
    // 2 x 2 pixels, rows padded to 8 bytes, stored blue-green-red.
    std::string bmp = "BM";
    appendLittleEndian(bmp, 70, 4);
    appendLittleEndian(bmp, 0, 4);
    appendLittleEndian(bmp, 54, 4);
    for (uint32_t v : {40u, 2u, 2u}) appendLittleEndian(bmp, v, 4);
    appendLittleEndian(bmp, 1, 2);
    appendLittleEndian(bmp, 24, 2);
    for (uint32_t v : {0u, 16u, 0u, 0u, 0u, 0u}) appendLittleEndian(bmp, v, 4);
    bmp += std::string("\x00\x00\xFF" "\x00\xFF\x00" "\x00\x00", 8); // red, green
    bmp += std::string("\xFF\x00\x00" "\x10\x20\x30" "\x00\x00", 8); // blue, (0x30, 0x20, 0x10)
    TexturedThing thing;
    std::snprintf(thing.textureFile, sizeof thing.textureFile, "%s", writeAssetFile("rgb.bmp", bmp).c_str());
    thing.loadTexture();
    ASSERT_NE(thing.textureId, 0u);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    glBindTexture(GL_TEXTURE_2D, thing.textureId);
    unsigned char texels[12] = {};
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, texels);
    const unsigned char expected[12] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 0x30, 0x20, 0x10};
    for (int i = 0; i < 12; ++i) EXPECT_EQ(texels[i], expected[i]) << i;
    GLint filter = 0, wrap = 0;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &filter);
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, &wrap);
    EXPECT_EQ(filter, GL_LINEAR);
    EXPECT_EQ(wrap, GL_REPEAT);
}

// Only level 0 is sampled, so an image with power-of-two sides keeps exactly its pixels and gets
// no smaller levels; an image with other sides still gets the rescaled level 0 of its mipmaps.
TEST(TextureLoaderGl, RescalesOnlyImagesWhoseSidesAreNotPowersOfTwo) {
    for (const auto& [width, levelZeroWidth, levels] : {std::tuple{2, 2, 1}, std::tuple{3, 4, 2}}) {
        std::string bmp = "BM";
        appendLittleEndian(bmp, 70, 4);
        appendLittleEndian(bmp, 0, 4);
        appendLittleEndian(bmp, 54, 4);
        for (uint32_t v : {40u, uint32_t(width), 2u}) appendLittleEndian(bmp, v, 4);
        appendLittleEndian(bmp, 1, 2);
        appendLittleEndian(bmp, 24, 2);
        for (uint32_t v : {0u, 24u, 0u, 0u, 0u, 0u}) appendLittleEndian(bmp, v, 4);
        bmp += std::string(24, '\x40');
        TexturedThing thing;
        std::snprintf(thing.textureFile, sizeof thing.textureFile, "%s",
                      writeAssetFile("sides.bmp", bmp).c_str());
        thing.loadTexture();
        glBindTexture(GL_TEXTURE_2D, thing.textureId);
        GLint w = 0, levelOne = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 1, GL_TEXTURE_WIDTH, &levelOne);
        EXPECT_EQ(w, levelZeroWidth) << width;
        EXPECT_EQ(levelOne > 0 ? 2 : 1, levels) << width;
    }
}

TEST(ModelDrawingGl, DrawsGroupsNewestFirstWithTheirColours) {
    resetView();
    Model m = groupModel();
    const std::vector<FedVertex> v = capture(m.get(), RENDER_COLOR);
    ASSERT_EQ(v.size(), 9u);
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    EXPECT_FLOAT_EQ(v[0].b, 1.0f); // b: blue
    EXPECT_FLOAT_EQ(v[3].r, 1.0f); // a: red
    EXPECT_FLOAT_EQ(v[6].g, 0.8f); // default: the default material's grey
    EXPECT_FLOAT_EQ(v[1].x, 600.0f);
    EXPECT_FLOAT_EQ(v[2].y, 450.0f);
}

TEST(ModelDrawingGl, SendsOnlyWhatTheModeAsksFor) {
    resetView();
    Model m = groupModel();
    glColor3f(0.25f, 0.5f, 0.75f);
    glTexCoord2f(0.0f, 0.0f);
    std::vector<FedVertex> bare = capture(m.get(), 0);
    ASSERT_EQ(bare.size(), 9u);
    for (const FedVertex& f : bare) {
        EXPECT_FLOAT_EQ(f.g, 0.5f);
        EXPECT_FLOAT_EQ(f.s, 0.0f);
    }
    std::vector<FedVertex> textured = capture(m.get(), RENDER_TEXTURE);
    EXPECT_FLOAT_EQ(textured[1].s, 0.75f);
    EXPECT_FLOAT_EQ(textured[2].t, 1.0f);

    lightFromViewer();
    std::vector<FedVertex> smooth = capture(m.get(), RENDER_SMOOTH);
    EXPECT_NEAR(smooth[0].r, 1.0f, 1e-3); // normal (0, 0, 1)
    EXPECT_NEAR(smooth[1].r, 0.8f, 1e-3); // (0, 0.6, 0.8)
    EXPECT_NEAR(smooth[2].r, 0.6f, 1e-3); // (0.8, 0, 0.6)
    testing::internal::CaptureStdout();
    std::vector<FedVertex> both = capture(m.get(), RENDER_FLAT | RENDER_SMOOTH);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "glmDraw() warning: flat render mode requested and smooth render mode requested (using smooth).\n");
    EXPECT_NEAR(both[2].r, 0.6f, 1e-3);
    std::vector<FedVertex> flat = capture(m.get(), RENDER_FLAT);
    for (const FedVertex& f : flat) EXPECT_NEAR(f.r, 1.0f, 1e-3); // the facet faces the light
    glDisable(GL_LIGHTING);
}

TEST(ModelDrawingGl, MaterialModeSetsEachGroupsMaterialAndWinsOverColour) {
    resetView();
    Model m = groupModel();
    glEnable(GL_COLOR_MATERIAL);
    testing::internal::CaptureStdout();
    capture(m.get(), RENDER_COLOR | RENDER_MATERIAL);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "glmDraw() warning: color and material render mode requested using only material mode.\n");
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLfloat diffuse[4];
    glGetMaterialfv(GL_FRONT, GL_DIFFUSE, diffuse); // the last group drawn is "default"
    EXPECT_FLOAT_EQ(diffuse[0], 0.8f);

    // Without a library the material request is dropped and colour tracking left alone.
    const std::string path = writeAssetFile("plain.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nf 1 2 3\n");
    ObjReadError error;
    Model plain(glmLoadOBJ(path.c_str(), &error), &glmDelete);
    ASSERT_TRUE(plain);
    glEnable(GL_COLOR_MATERIAL);
    testing::internal::CaptureStdout();
    EXPECT_EQ(capture(plain.get(), RENDER_MATERIAL | RENDER_TEXTURE).size(), 3u);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "glmDraw() warning: texture render mode requested with no texture coordinates defined.\n"
              "glmDraw() warning: material render mode requested with no materials defined.\n");
    EXPECT_TRUE(glIsEnabled(GL_COLOR_MATERIAL));
    glDisable(GL_COLOR_MATERIAL);
}

TEST(TextDrawingGl, DrawStringMovesThePenBySumOfAdvancesAndSkipsMissingCharacters) {
    resetView();
    TxfLayout layout;
    layout.format = 1;
    layout.width = 10; // rows of 10 one-byte texels: not padded to 4 bytes
    layout.glyphs = {{'a', 4, 4, 0, 0, 8}, {'b', 4, 4, 0, 0, 9}, {'c', 4, 4, 0, 0, 10}};
    TextureFont* font = loadTextureFont(writeAssetFile("three.txf", makeTxf(layout)).c_str());
    ASSERT_NE(font, nullptr);
    const unsigned int name = createFontTexture(font, 0, false);
    EXPECT_NE(name, 0u);
    EXPECT_EQ(createFontTexture(font, 77, false), name); // a font keeps its first name
    GLint width = 0;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
    EXPECT_EQ(width, 10);
    std::vector<unsigned char> texels(80);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_LUMINANCE, GL_UNSIGNED_BYTE, texels.data());
    EXPECT_EQ(texels, font->texels);
    GLfloat m[16];
    glLoadIdentity();
    drawString(font, "abc", 3);
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 27.0f);
    glLoadIdentity();
    testing::internal::CaptureStderr();
    drawString(font, "a?c", 3);
    testing::internal::GetCapturedStderr();
    glGetFloatv(GL_MODELVIEW_MATRIX, m);
    EXPECT_FLOAT_EQ(m[12], 18.0f);
    glLoadIdentity();
    deleteTextureFont(font);
}

// The generated mesh and textures agree: seen along -z, the ball shows the number disc of its
// +z side in the middle, the ball colour to the side, and for a stripe white towards the poles.
TEST(GeneratedBallGl, MeshAndTexturesLineUp) {
    resetView();
    loadBallModel("Data/ball.obj");
    ASSERT_NE(ballDisplayList, 0u);
    glMatrixMode(GL_PROJECTION);
    glOrtho(-1.0 * GL_TEST_WIDTH / GL_TEST_HEIGHT, 1.0 * GL_TEST_WIDTH / GL_TEST_HEIGHT, -1, 1, -2, 2);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glEnable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    auto pixel = [](double x, double y) { // in ball radii from the centre
        unsigned char rgb[3];
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(int(GL_TEST_WIDTH / 2 + x * GL_TEST_HEIGHT / 2), int(GL_TEST_HEIGHT / 2 + y * GL_TEST_HEIGHT / 2),
                     1, 1, GL_RGB, GL_UNSIGNED_BYTE, rgb);
        return std::vector<int>{rgb[0], rgb[1], rgb[2]};
    };
    for (int number : {9, 1}) {
        TexturedThing ball;
        std::snprintf(ball.textureFile, sizeof ball.textureFile, "Data/ball%d.bmp", number);
        ball.loadTexture();
        ASSERT_NE(ball.textureId, 0u) << number;
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_TEXTURE_2D); // loading leaves texturing off
        glBindTexture(GL_TEXTURE_2D, ball.textureId);
        glCallList(ballDisplayList);
        const std::vector<int> disc = pixel(0.0, 0.36), side = pixel(0.7, 0.0), top = pixel(0.0, 0.8);
        EXPECT_GT(disc[0] + disc[1] + disc[2], 650) << number; // white disc above the digit
        EXPECT_GT(side[0], 200) << number;                     // yellow
        EXPECT_LT(side[2], 60) << number;
        EXPECT_EQ(top[2] > 150, number == 9) << number;        // white cap only on the stripe
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_CULL_FACE);
    glDisable(GL_DEPTH_TEST);
}
