// Reference frames: whole scenes rendered under Xvfb and compared with committed pictures.
// scripts/update_reference_frames.sh rewrites the pictures when a change of look is intended.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "app/camera.h"
#include "render/cue.h"
#include "render/scene.h"
#include "render_test_util.h"
#include "sim/ball.h"

namespace {
// A channel further off than this marks a pixel as different.
constexpr int PIXEL_TOLERANCE = 16;
constexpr double MAX_DIFFERENT_PIXELS = 0.001; // fraction of the frame
constexpr double MAX_MEAN_DIFFERENCE = 0.5;    // per channel, in 0..255

std::string referencePath(const std::string& name) {
    const char* data = std::getenv("POOL_TEST_DATA");
    return std::string(data ? data : "tests/data") + "/reference/" + name + ".png";
}

// Compares the frame in the back buffer (halved, as stored) with its reference picture, or
// rewrites the picture when POOL_UPDATE_REFERENCE_FRAMES is set.
void checkFrame(const std::string& name) {
    const Image frame = halve(readBackBuffer());
    if (std::getenv("POOL_UPDATE_REFERENCE_FRAMES")) {
        ASSERT_TRUE(writePng(referencePath(name), frame)) << referencePath(name);
        return;
    }
    Image reference;
    ASSERT_TRUE(readPng(referencePath(name), reference)) << "missing " << referencePath(name);
    ASSERT_EQ(reference.width, frame.width);
    ASSERT_EQ(reference.height, frame.height);
    long differentPixels = 0;
    double sum = 0.0;
    for (size_t i = 0; i < frame.rgb.size(); i += 3) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) {
            const int d = std::abs(frame.rgb[i + c] - reference.rgb[i + c]);
            sum += d;
            worst = std::max(worst, d);
        }
        if (worst > PIXEL_TOLERANCE) ++differentPixels;
    }
    const double pixels = double(frame.width) * frame.height;
    const std::string actual = testing::TempDir() + name + ".png";
    writePng(actual, frame);
    EXPECT_LE(differentPixels / pixels, MAX_DIFFERENT_PIXELS) << name << ": see " << actual;
    EXPECT_LE(sum / (3 * pixels), MAX_MEAN_DIFFERENCE) << name << ": see " << actual;
}

class ReferenceFrames : public testing::Test {
protected:
    void SetUp() override { startGame(); }

    // Balls spread over the table as in the middle of a game, each turned its own way, two of
    // them pocketed, and the cue ball rolling.
    static void spreadBalls() {
        const double spots[BALL_COUNT][2] = {
            {-6, 8},  {3, -10},  {-12, -30}, {15, -38}, {0, 0},    {8, 20},  {-18, -5}, {0, -25},
            {1.9, -26.6}, {-5, 35}, {19, 10}, {-20, 41}, {10, -20}, {0, 0}, {-8, -15}, {5, 0}};
        for (int i = 0; i < BALL_COUNT; ++i) {
            Ball& ball = *balls[i];
            ball.position = Vec3(spots[i][0], 1.0, spots[i][1]);
            ball.rotation = Vec3(1.7 * std::sin(i), 0.3 * std::cos(3.0 * i), 1.7 * std::cos(i));
        }
        balls[4]->pocketed = balls[13]->pocketed = true;
    }
    static void aimAtTheCueBall() {
        spreadBalls();
        camera->setTarget(-6.0, 1.0, 8.0);
        camera->setOrbit(40.0, 20.0, 15.0, 0.0, 1.0, 0.0);
        cue->setPosition(-6.0, 1.0, 8.0);
        cue->resetAim(20.0, 10.0);
        cue->pull = 30.0;
    }
};

TEST_F(ReferenceFrames, StartUpView) {
    renderScene(PASS_MAIN_VIEW);
    checkFrame("start_up");
}

TEST_F(ReferenceFrames, OverheadInset) {
    spreadBalls();
    overheadProjection();
    renderScene(PASS_INSET_VIEW);
    checkFrame("overhead_inset");
}

TEST_F(ReferenceFrames, MidShot) {
    spreadBalls();
    cue->visible = false;
    camera->setTarget(0.0, 1.0, 0.0);
    camera->setOrbit(70.0, 35.0, 30.0, 0.0, 1.0, 0.0);
    renderScene(PASS_MAIN_VIEW);
    checkFrame("mid_shot");
}

TEST_F(ReferenceFrames, AimingWithEachToggle) {
    aimAtTheCueBall();
    renderScene(PASS_MAIN_VIEW);
    checkFrame("aiming");
    lightingEnabled = false;
    renderScene(PASS_MAIN_VIEW);
    checkFrame("aiming_no_lighting");
    lightingEnabled = true;
    shadowsEnabled = false;
    renderScene(PASS_MAIN_VIEW);
    checkFrame("aiming_no_shadows");
    shadowsEnabled = true;
    texturingEnabled = false;
    renderScene(PASS_MAIN_VIEW);
    checkFrame("aiming_no_texturing");
}
} // namespace
