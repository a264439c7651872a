// The shell: start-up's objects and GL state, reshape, the menu toggles, display and the font.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/camera.h"
#include "app/shell.h"
#include "assets/ball_model.h"
#include "render/cue.h"
#include "render/light.h"
#include "render/overlays.h"
#include "render/room.h"
#include "render/scene.h"
#include "render_test_util.h"
#include "sim/ball.h"
#include "sim/referee.h"
#include "sim/table.h"
#include "support/gl_test_main.h"

int swapCount = 0;
Image swappedFrame; // the back buffer as the last swap found it
int redisplayRequests = 0;

// The link wraps these two GLUT calls (see tests/CMakeLists.txt) to watch them: what a swap
// shows and whether GLUT then redraws depend on the other windows on the same screen.
extern "C" void __real_glutSwapBuffers();
extern "C" void __wrap_glutSwapBuffers() {
    ++swapCount;
    swappedFrame = readBackBuffer();
    __real_glutSwapBuffers();
}
extern "C" void __real_glutPostRedisplay();
extern "C" void __wrap_glutPostRedisplay() {
    ++redisplayRequests;
    __real_glutPostRedisplay();
}

namespace {
class ShellTest : public testing::Test {
protected:
    void SetUp() override { startGame(); }
    // How many redisplays `action` asks for.
    template <typename Action> static int redisplaysAfter(Action action) {
        redisplayRequests = 0;
        action();
        return redisplayRequests;
    }
};

Image mainFrame() {
    renderScene(PASS_MAIN_VIEW);
    return readBackBuffer();
}

TEST_F(ShellTest, StartUpCreatesTheObjectsAndWiresTheRefereeToTheCueBall) {
    ASSERT_TRUE(room && camera && light && table && cue);
    for (int i = 0; i < BALL_COUNT; ++i) EXPECT_EQ(balls[i]->number, int(rack[i].number));
    EXPECT_EQ(referee.cueBall, balls[0]);
    EXPECT_EQ(referee.gameOverScratchHandler, &centreCameraOnTable);
    EXPECT_EQ(table->length, 88);
    EXPECT_EQ(table->width, 44);
    EXPECT_EQ(cue->tipGap, 1.0);
    EXPECT_EQ(cue->cueLength, 50.0);
    EXPECT_EQ(cue->position.z, 22.0);
    EXPECT_EQ(light->spotCutoff, 90.0f); // recorded only; the cone is 60 degrees
    // The art under Data/ was read.
    EXPECT_NE(ballDisplayList, 0u);
    EXPECT_NE(room->textureId, 0u);
    EXPECT_NE(table->textureId, 0u);
    for (Ball* ball : balls) EXPECT_NE(ball->textureId, 0u);
    EXPECT_NE(font, nullptr);
    float expected[16];
    shadowMatrix(expected, light->lightPosition, feltPlane);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(feltShadowMatrix[i], expected[i]);
    shadowMatrix(expected, light->lightPosition, railPlane);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(railShadowMatrix[i], expected[i]);
}

TEST_F(ShellTest, ReshapeKeepsTheSizeAndAFiniteProjection) {
    reshape(1024, 768);
    EXPECT_EQ(windowWidth, 1024);
    EXPECT_EQ(windowHeight, 768);
    double p[16];
    glGetDoublev(GL_PROJECTION_MATRIX, p);
    EXPECT_NEAR(p[5] / p[0], 4.0 / 3.0, 1e-6);
    EXPECT_NEAR(p[5], 1.0 / std::tan(22.5 * M_PI / 180.0), 1e-6);
    for (auto [w, h] : {std::pair{800, 0}, std::pair{0, 0}, std::pair{0, 600}}) {
        reshape(w, h); // a minimised window
        EXPECT_EQ(windowHeight, h);
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        for (double v : p) EXPECT_TRUE(std::isfinite(v)) << w << "x" << h;
        EXPECT_NE(p[0], 0.0);
        GLint mode = 0;
        glGetIntegerv(GL_MATRIX_MODE, &mode);
        EXPECT_EQ(mode, GL_MODELVIEW);
    }
}

TEST_F(ShellTest, EachMenuEntryTogglesOneSwitchAndTwiceRestoresTheFrameBitForBit) {
    bool* toggles[3] = {&lightingEnabled, &shadowsEnabled, &texturingEnabled};
    const Image start = mainFrame();
    for (int value = 0; value < 3; ++value) {
        EXPECT_EQ(redisplaysAfter([value] { menu(value); }), 1);
        for (int other = 0; other < 3; ++other) EXPECT_EQ(*toggles[other], other != value);
        EXPECT_FALSE(sameImage(mainFrame(), start)) << value;
        menu(value);
        EXPECT_TRUE(sameImage(mainFrame(), start)) << value;
    }
    EXPECT_EQ(redisplaysAfter([] { menu(3); }), 1);
    EXPECT_TRUE(lightingEnabled && shadowsEnabled && texturingEnabled);
}

TEST_F(ShellTest, GameOverOnAScratchTurnsTheViewToTheTablesCentre) {
    EXPECT_EQ(redisplaysAfter(referee.gameOverScratchHandler), 1);
    EXPECT_EQ(camera->targetX, 0.0);
    EXPECT_EQ(camera->targetY, 0.0);
    EXPECT_EQ(camera->targetZ, 0.0);
    EXPECT_EQ(camera->distance, 80.0);
}

// The frame display should show: cleared, then the one composition the play state asks for.
Image composedFrame(void (*compose)()) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    compose();
    return readBackBuffer();
}

Image displayedFrame() {
    glClear(GL_COLOR_BUFFER_BIT); // nothing of an earlier frame may show through
    swapCount = 0;
    display();
    EXPECT_EQ(swapCount, 1);
    return swappedFrame;
}

TEST_F(ShellTest, DisplayDrawsTheMainViewWithItsOverlaysOrThePlacementScreenAndSwapsOnce) {
    const Image normal = composedFrame([] {
        drawScene(PASS_MAIN_VIEW);
        drawOverlays();
    });
    EXPECT_TRUE(sameImage(displayedFrame(), normal));
    referee.giveBallInHand();
    const Image placing = composedFrame(drawPlacementScreen);
    EXPECT_FALSE(sameImage(placing, normal));
    EXPECT_TRUE(sameImage(displayedFrame(), placing));
}

TEST_F(ShellTest, MissingFontIsReportedOnceWithItsFileAndReasonAndLeavesNoFont) {
    TextureFont* const loaded = font;
    testing::internal::CaptureStderr();
    loadFont("Data/no-such-font.txf");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Cannot load the font Data/no-such-font.txf: file open failed. The screens are "
              "shown without text.\n");
    EXPECT_EQ(font, nullptr);
    font = loaded;
}
} // namespace
