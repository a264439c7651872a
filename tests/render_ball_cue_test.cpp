// Ball and cue drawing: the rolling turn on top of the orientation, the cue's set-back and when
// the cue is not drawn.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/camera.h"
#include "render/cue.h"
#include "render/scene.h"
#include "render_test_util.h"
#include "sim/ball.h"
#include "sim/referee.h"

namespace {
constexpr Rgb FELT{0, 191, 0};
constexpr Rgb CUE_COLOUR{84, 84, 0}; // (0.33, 0.33, 0)

bool near(const Rgb& a, const Rgb& b, int tolerance) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}

// Fraction of pixels whose channels differ by more than 2.
double differingFraction(const Image& a, const Image& b) {
    int differing = 0;
    for (size_t i = 0; i < a.rgb.size(); i += 3) {
        for (int c = 0; c < 3; ++c) {
            if (std::abs(a.rgb[i + c] - b.rgb[i + c]) > 2) {
                ++differing;
                break;
            }
        }
    }
    return double(differing) / (a.width * a.height);
}

class BallCueTest : public testing::Test {
protected:
    void SetUp() override {
        startGame();
        lightingEnabled = shadowsEnabled = texturingEnabled = false;
        for (Ball* ball : balls) ball->pocketed = true;
    }
    // Straight down on (x, z), showing 2 h units across: 80 pixels per unit for h = 5.
    static void zoomedOverhead(double x, double z, double h) {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        // The overhead eye has screen right along -z and screen up along -x.
        glOrtho(-z - h, -z + h, -x - 0.75 * h, -x + 0.75 * h, -30.0, 15.0);
        glMatrixMode(GL_MODELVIEW);
    }
};

TEST_F(BallCueTest, RollingTurnDrawsLikeTheSameTurnFoldedIntoTheOrientation) {
    Ball& ball = *balls[1];
    ball.pocketed = false;
    ball.position = Vec3(0.0, 1.0, 0.0);
    texturingEnabled = true; // the number and stripe show the turn
    zoomedOverhead(0.0, 0.0, 1.5);
    renderScene(0);
    const Image unturned = readBackBuffer();
    const Vec3 turn(0.3, 1.1, -0.4); // radians, axis times angle
    ball.rotation = turn;
    renderScene(0);
    const Image rolled = readBackBuffer();
    ball.rotation = Vec3();
    rotateOrientation(ball.orientation, turn);
    renderScene(0);
    const Image folded = readBackBuffer();
    EXPECT_GT(differingFraction(rolled, unturned), 0.05); // the turn shows
    EXPECT_LT(differingFraction(rolled, folded), 0.002);
}

TEST_F(BallCueTest, TipSitsTipGapFromTheCueBallPlusTheScaledPull) {
    cue->resetAim(0.0, 0.0); // level, the butt towards +z
    for (double pull : {0.0, 100.0}) {
        cue->pull = pull;
        const double tip = 22.0 + 1.0 + pull * CUE_PULL_SCALE; // 23 and 36.33
        zoomedOverhead(0.0, tip, 1.0);
        renderScene(0);
        EXPECT_TRUE(near(colourAt(0.0, 1.0, tip + 0.05), CUE_COLOUR, 1)) << pull;
        EXPECT_TRUE(near(colourAt(0.0, 1.0, tip - 0.05), FELT, 0)) << pull;
    }
}

TEST_F(BallCueTest, CueIsNotDrawnWhenHiddenOnThePlacementScreenOrAfterTheGame) {
    zoomedOverhead(0.0, 30.0, 5.0);
    renderScene(0);
    ASSERT_TRUE(near(colourAt(0.0, 2.0, 30.0), CUE_COLOUR, 1));
    renderScene(PASS_PLACEMENT_VIEW);
    EXPECT_TRUE(near(colourAt(0.0, 2.0, 30.0), FELT, 0));
    cue->visible = false;
    renderScene(0);
    EXPECT_TRUE(near(colourAt(0.0, 2.0, 30.0), FELT, 0));
    cue->visible = true;
    referee.playState = GameOver;
    renderScene(0);
    EXPECT_TRUE(near(colourAt(0.0, 2.0, 30.0), FELT, 0));
}

TEST_F(BallCueTest, LitBallWithoutTextureShowsItsRackColour) {
    Ball& ball = *balls[1]; // red
    ball.pocketed = false;
    ball.position = Vec3(0.0, 1.0, 0.0);
    zoomedOverhead(0.0, 0.0, 1.5);
    lightingEnabled = true;
    texturingEnabled = false;
    renderScene(0);
    const Rgb lit = colourAt(0.5, 2.0, 0.5); // off the highlight
    EXPECT_GT(lit.r, 150);
    EXPECT_LT(lit.g, 40);
    EXPECT_LT(lit.b, 40);
    lightingEnabled = false;
    renderScene(0);
    EXPECT_TRUE(near(colourAt(0.5, 2.0, 0.5), Rgb{255, 0, 0}, 0));
}
} // namespace
