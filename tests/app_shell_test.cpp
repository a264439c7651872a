// The shell and the camera: what start-up builds and sets, reshape, the menu, the font's
// absence, and the orbit and overhead views.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "app/camera.h"
#include "app/shell.h"
#include "assets/ball_model.h"
#include "game_test_util.h"
#include "render/cue.h"
#include "render/light.h"
#include "render/room.h"
#include "render/scene.h"
#include "sim/ball.h"
#include "sim/referee.h"
#include "sim/table.h"

namespace {
class ShellTest : public testing::Test {
protected:
    void SetUp() override { startPlay(); }
};

// Where a matrix (column-major) takes a point.
Xyz transform(const float* m, double x, double y, double z) {
    double out[4] = {};
    for (int i = 0; i < 4; ++i) out[i] = m[i] * x + m[4 + i] * y + m[8 + i] * z + m[12 + i];
    return {out[0] / out[3], out[1] / out[3], out[2] / out[3]};
}

void expectNear(const Xyz& got, const Xyz& want, double tolerance) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "coordinate " << i;
}

TEST_F(ShellTest, StartUpBuildsTheTableTheCueAndTheArtAndWiresTheReferee) {
    EXPECT_EQ(referee.cueBall, balls[0]);
    EXPECT_EQ(referee.gameOverScratchHandler, &centreCameraOnTable);
    EXPECT_EQ(table->length, 88);
    EXPECT_EQ(table->width, 44);
    EXPECT_EQ(cue->tipGap, 1.0);
    EXPECT_EQ(cue->cueLength, 50.0);
    EXPECT_NE(ballDisplayList, 0u);
    EXPECT_NE(room->textureId * table->textureId * balls[15]->textureId, 0u);
    EXPECT_NE(font, nullptr);
    // Shadows are cast from the lamp 22 units above the centre onto the felt and the rail tops.
    expectNear(transform(feltShadowMatrix, 3, 1, -7), {22.0 * 3 / 21, 0, -22.0 * 7 / 21}, 1e-5);
    expectNear(transform(railShadowMatrix, 3, 1, -7), {3, 1, -7}, 1e-5);
}

TEST_F(ShellTest, TheLightModelAndTheSpotAreSetOnce) {
    float ambient[4], cutoff = 0, exponent = 0, diffuse[4];
    int localViewer = 0;
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    glGetIntegerv(GL_LIGHT_MODEL_LOCAL_VIEWER, &localViewer);
    glGetLightfv(GL_LIGHT0, GL_SPOT_CUTOFF, &cutoff);
    glGetLightfv(GL_LIGHT0, GL_SPOT_EXPONENT, &exponent);
    glGetLightfv(GL_LIGHT0, GL_DIFFUSE, diffuse);
    EXPECT_EQ((std::array{ambient[0], ambient[1], ambient[2], ambient[3]}),
              (std::array{0.65f, 0.65f, 0.65f, 1.0f}));
    EXPECT_EQ(localViewer, 1);
    EXPECT_EQ(cutoff, 60.0f); // whatever the light was given (90, recorded only)
    EXPECT_EQ(light->spotCutoff, 90.0f);
    EXPECT_EQ(exponent, 7.0f);
    EXPECT_EQ(diffuse[0] + diffuse[1] + diffuse[2], 3.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
}

// A 45-degree vertical field of view at the window's aspect; a minimised window gets aspect 1.
TEST_F(ShellTest, ReshapeKeepsTheSizeAndAFiniteProjection) {
    for (auto [w, h, xScale] : {std::tuple{1024, 768, 1.8106602}, {800, 0, 2.4142136},
                                {0, 0, 2.4142136}, {0, 600, 2.4142136}}) {
        reshape(w, h);
        EXPECT_EQ(windowWidth, w);
        EXPECT_EQ(windowHeight, h);
        double p[16];
        int mode = 0, viewport[4];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        glGetIntegerv(GL_VIEWPORT, viewport);
        EXPECT_NEAR(p[0], xScale, 1e-6) << w << "x" << h;
        EXPECT_NEAR(p[5], 2.4142136, 1e-6) << w << "x" << h; // 1 / tan 22.5 degrees
        EXPECT_EQ(mode, GL_MODELVIEW);
        EXPECT_EQ(viewport[2], w);
    }
}

TEST_F(ShellTest, TheMenuHasThreeTogglesEachFlippingItsOwnSwitch) {
    createMenu();
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 3);
    const std::string labels[] = {"Toggle Lighting", "Toggle Shadows", "Toggle Texturing"};
    bool* switches[] = {&lightingEnabled, &shadowsEnabled, &texturingEnabled};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(MENU_ENTRIES[i].label, labels[i]);
        ASSERT_EQ(MENU_ENTRIES[i].value, i);
        redisplayRequests = 0;
        menu(i);
        for (int j = 0; j < 3; ++j) EXPECT_EQ(*switches[j], j != i) << labels[i];
        menu(i);
        EXPECT_TRUE(*switches[i]);
        EXPECT_EQ(redisplayRequests, 2);
    }
}

TEST_F(ShellTest, GameOverOnAScratchTurnsTheViewToTheTablesCentre) {
    referee.gameOverScratchHandler();
    EXPECT_EQ((Xyz{camera->targetX, camera->targetY, camera->targetZ}), (Xyz{0, 0, 0}));
    EXPECT_EQ(camera->distance, 80.0);
    EXPECT_EQ(redisplayRequests, 1);
}

TEST_F(ShellTest, AMissingFontIsReportedOnceWithItsFileAndReasonAndLeavesNoFont) {
    TextureFont* const loaded = font;
    testing::internal::CaptureStderr();
    loadFont("Data/no-such-font.txf");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Cannot load the font Data/no-such-font.txf: file open failed. The screens are "
              "shown without text.\n");
    EXPECT_EQ(font, nullptr);
    font = loaded;
}

// Eye, centre and up of the orbit about (0, 1, 22). A distance of 0 looks the way a tiny one
// would; straight up or down, the screen's up is the one nearby elevations tend to; past 90
// degrees the picture turns over.
TEST(Camera, OrbitViewsIncludingTheDegenerateOnes) {
    const struct {
        double distance, azimuth, elevation;
        Xyz eye, centre, up;
    } cases[] = {
        {80, 90, 22, {74.17471, 30.96853, 22}, {0, 1, 22}, {0, 1, 0}},
        {-20, 0, 22, {0, -6.49213, 3.45632}, {0, 1, 22}, {0, 1, 0}},
        {0, 0, 22, {0, 1, 22}, {0, 0.62539, 21.07282}, {0, 1, 0}},
        {10, 30, 90, {0, 11, 22}, {0, 1, 22}, {-0.5, 0, -0.86603}},
        {10, 30, -90, {0, -9, 22}, {0, 1, 22}, {0.5, 0, 0.86603}},
        {0, 30, 90, {0, 1, 22}, {0, 0, 22}, {-0.5, 0, -0.86603}},
        {10, 0, 100, {0, 10.84808, 20.26352}, {0, 1, 22}, {0, 1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.distance << " " << c.azimuth << " " << c.elevation);
        const LookAt v = Camera(0, 1, 22, c.distance, c.azimuth, c.elevation, 0, 1, 0).orbitView();
        expectNear(xyz(v.eye), c.eye, 1e-4);
        expectNear(xyz(v.centre), c.centre, 1e-4);
        expectNear(xyz(v.up), c.up, 1e-4);
    }
}

// Straight down from (0, 10, 0) on the table's centre, screen up along -x, whatever the fields.
TEST(Camera, TheOverheadViewIgnoresEveryField) {
    for (int pass : {PASS_INSET_VIEW, PASS_PLACEMENT_VIEW}) {
        glLoadIdentity();
        Camera(7, -3, 11, 0, 45, 90, 1, 0, 0).look(pass);
        float m[16];
        glGetFloatv(GL_MODELVIEW_MATRIX, m);
        expectNear(transform(m, 0, 0, 0), {0, 0, -10}, 1e-6);
        expectNear(transform(m, 1, 0, 0), {0, -1, -10}, 1e-6);
        expectNear(transform(m, 0, 0, 1), {-1, 0, -10}, 1e-6);
    }
}
} // namespace
