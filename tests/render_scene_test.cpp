// The frames the game draws: whole scenes and screens compared with committed reference
// pictures, flat colours, stencil marks and shadows at chosen points, and the overlays' texts.
// scripts/update_reference_frames.sh rewrites the pictures when a change of look is intended.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

#include "app/camera.h"
#include "app/shell.h"
#include "game_test_util.h"
#include "render/cue.h"
#include "render/overlays.h"
#include "render/scene.h"
#include "sim/ball.h"
#include "sim/referee.h"

using Image = std::vector<unsigned char>;
static Image swappedFrame;

// The link wraps glutSwapBuffers (see tests/CMakeLists.txt) to keep what a swap shows.
extern "C" void __real_glutSwapBuffers();
extern "C" void __wrap_glutSwapBuffers() {
    swappedFrame = readBackBuffer();
    __real_glutSwapBuffers();
}

namespace {
constexpr int W = 400, H = 300; // reference pictures: the 800x600 frame, each pixel a 2x2 mean
constexpr int PIXEL_TOLERANCE = 16;            // a channel further off marks a different pixel
constexpr double MAX_DIFFERENT_PIXELS = 0.001; // fraction of the frame
constexpr double MAX_MEAN_DIFFERENCE = 0.5;    // per channel, in 0..255

Image halve(const Image& frame) {
    Image half(W * H * 3);
    for (int i = 0; i < W * H * 3; ++i) {
        const int x = i / 3 % W, y = i / 3 / W, c = i % 3, at = (2 * y * 2 * W + 2 * x) * 3 + c;
        half[i] = (unsigned char)((frame[at] + frame[at + 3] + frame[at + 6 * W] + frame[at + 6 * W + 3] + 2) / 4);
    }
    return half;
}

// Compares the frame (halved) with its reference picture, or rewrites the picture when
// POOL_UPDATE_REFERENCE_FRAMES is set. PNG rows run top to bottom, the frame's bottom to top.
void checkFrame(const std::string& name, const Image& frame) {
    const Image half = halve(frame);
    const std::string path = std::string(std::getenv("POOL_TEST_DATA")) + "/reference/" + name + ".png";
    const std::string actual = testing::TempDir() + name + ".png";
    png_image png;
    std::memset(&png, 0, sizeof png);
    png.version = PNG_IMAGE_VERSION;
    png.width = W, png.height = H, png.format = PNG_FORMAT_RGB;
    const bool update = std::getenv("POOL_UPDATE_REFERENCE_FRAMES");
    ASSERT_TRUE(png_image_write_to_file(&png, (update ? path : actual).c_str(), 0, half.data(), -3 * W, nullptr));
    if (update) return;
    Image reference(W * H * 3);
    png_image_free(&png);
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, path.c_str())) << "missing " << path;
    png.format = PNG_FORMAT_RGB;
    ASSERT_EQ(png.width * png.height, unsigned(W * H)) << path;
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, reference.data(), -3 * W, nullptr));
    int different = 0;
    double sum = 0.0;
    for (int i = 0; i < W * H * 3; i += 3) {
        int worst = 0;
        for (int c = 0; c < 3; ++c) worst = std::max(worst, std::abs(half[i + c] - reference[i + c]));
        for (int c = 0; c < 3; ++c) sum += std::abs(half[i + c] - reference[i + c]);
        different += worst > PIXEL_TOLERANCE;
    }
    EXPECT_LE(different, MAX_DIFFERENT_PIXELS * W * H) << name << ": see " << actual;
    EXPECT_LE(sum / (3 * W * H), MAX_MEAN_DIFFERENCE) << name << ": see " << actual;
}

Image displayedFrame() {
    glClear(GL_COLOR_BUFFER_BIT); // nothing of an earlier frame may show through
    display();
    return swappedFrame;
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override { startPlay(); }
    // Balls spread over the table as in the middle of a game, each turned its own way, two of
    // them pocketed.
    static void spreadBalls() {
        const double spots[BALL_COUNT][2] = {
            {-6, 8},  {3, -10},  {-12, -30}, {15, -38}, {0, 0},    {8, 20},  {-18, -5}, {0, -25},
            {1.9, -26.6}, {-5, 35}, {19, 10}, {-20, 41}, {10, -20}, {0, 0}, {-8, -15}, {5, 0}};
        for (int i = 0; i < BALL_COUNT; ++i) {
            balls[i]->position = Vec3(spots[i][0], 1.0, spots[i][1]);
            balls[i]->rotation = Vec3(1.7 * std::sin(i), 0.3 * std::cos(3.0 * i), 1.7 * std::cos(i));
        }
        balls[4]->pocketed = balls[13]->pocketed = true;
    }
};

TEST_F(FrameTest, TheSceneFromTheStartAndMidShotAndOverhead) {
    renderScene(PASS_MAIN_VIEW);
    checkFrame("start_up", readBackBuffer());
    spreadBalls();
    overheadProjection(0.0, 15.0);
    renderScene(PASS_INSET_VIEW);
    checkFrame("overhead_inset", readBackBuffer());
    reshape(800, 600);
    cue->visible = false;
    camera->setTarget(0.0, 1.0, 0.0);
    camera->setOrbit(70.0, 35.0, 30.0, 0.0, 1.0, 0.0);
    renderScene(PASS_MAIN_VIEW);
    checkFrame("mid_shot", readBackBuffer());
}

TEST_F(FrameTest, AimingWithEachToggle) {
    spreadBalls();
    camera->setTarget(-6.0, 1.0, 8.0);
    camera->setOrbit(40.0, 20.0, 15.0, 0.0, 1.0, 0.0);
    cue->setPosition(-6.0, 1.0, 8.0);
    cue->resetAim(20.0, 10.0);
    cue->pull = 30.0;
    const struct {
        const char* name;
        bool lighting, shadows, texturing;
    } cases[] = {{"aiming", true, true, true}, {"aiming_no_lighting", false, true, true},
                 {"aiming_no_shadows", true, false, true}, {"aiming_no_texturing", true, true, false}};
    for (const auto& c : cases) {
        lightingEnabled = c.lighting, shadowsEnabled = c.shadows, texturingEnabled = c.texturing;
        renderScene(PASS_MAIN_VIEW);
        checkFrame(c.name, readBackBuffer());
    }
}

// Whole screens as display() shows them: the overlays over the scene, the game's end, ball in
// hand with a refused spot (shown once, then cleared). As first laid out, a window under 800
// pixels high lost its last help line and player 2's last lines, and the banner was cut off
// under 850 pixels wide.
TEST_F(FrameTest, TheScreensOfAGame) {
    referee.tableState = GroupsAssigned;
    referee.players[0].group = Stripes;
    referee.players[1].group = Solids;
    referee.stripesRemaining = 1;
    referee.solidsRemaining = 0;
    referee.currentPlayer = 1;
    checkFrame("screen_groups", displayedFrame());
    referee.playState = GameOver;
    referee.winner = 1;
    checkFrame("screen_game_over", displayedFrame());
    referee.giveBallInHand();
    referee.placementRejected = true;
    checkFrame("screen_refused", displayedFrame());
    EXPECT_FALSE(referee.placementRejected);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST) && glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_BLEND) || glIsEnabled(GL_TEXTURE_2D) || glIsEnabled(GL_LIGHTING));
    EXPECT_FALSE(glIsEnabled(GL_STENCIL_TEST));
    int depth = 0, viewport[4];
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(depth, 1);
    EXPECT_EQ((std::array{viewport[0], viewport[1], viewport[2], viewport[3]}), (std::array{0, 0, 800, 600}));
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    TextureFont* const loaded = font;
    font = nullptr; // the screens without text, the refusal still cleared
    referee.placementRejected = true;
    displayedFrame();
    EXPECT_FALSE(referee.placementRejected);
    font = loaded;
}

// Straight down on the bare table in flat colours (no lighting or texture), one ball hovering
// at y = 8 under the lamp at (0, 22, 0): its shadow, half again as large, lands clear of it.
TEST_F(FrameTest, FlatColoursStencilMarksAndShadowsAtChosenPoints) {
    lightingEnabled = texturingEnabled = false;
    for (Ball* ball : balls) ball->pocketed = true;
    cue->visible = false;
    overheadProjection(-30.0, 80.0);
    const auto hover = [](int i, double x, double z) {
        balls[i]->pocketed = false;
        balls[i]->position = Vec3(x, 8.0, z);
    };
    const struct {
        const char* what;
        std::function<void()> setUp;
        int pass;
        double x, y, z;
        Rgb colour;
        int stencil;
    } cases[] = {
        {"felt", [] {}, 0, -10, 0, 10, {0, 191, 0}, 2},
        {"corner apron", [] {}, 0, 23, 0, 42.42, {0, 191, 0}, 2},
        {"side apron", [] {}, 0, -22.42, 0, -2.33, {0, 191, 0}, 2},
        {"cushion top", [] {}, 0, 23.5, 1, -20, {0, 191, 0}, 1},
        {"end cushion top", [] {}, 0, -10, 1, 45.5, {0, 191, 0}, 1},
        {"rail", [] {}, 0, -26.5, 1, 48.5, {84, 61, 36}, 1},
        {"corner pocket", [] {}, 0, 23.5, 0, -45.5, {41, 31, 18}, 0},
        {"side pocket", [] {}, 0, -24, 0, 0, {41, 31, 18}, 0},
        {"corner pocket in the inset", [] {}, PASS_INSET_VIEW, 23.5, 0, -45.5, {0, 0, 0}, 0},
        {"red ball", [] { balls[1]->pocketed = false; }, 0, 0, 2, -22, {255, 0, 0}, 3},
        {"ball shadow", [&] { hover(1, 5, 20); }, 0, 7.86, 0, 31.43, {0, 95, 0}, 3},
        {"overlapping shadows", [&] { hover(1, 5, 20), hover(2, 5, 21.5); }, 0, 7.86, 0, 32.6, {0, 95, 0}, 3},
        {"a shadow at the felt's edge", [&] { hover(1, 14, 10); }, 0, 21.5, 0, 15.71, {0, 95, 0}, 3},
        {"a cushion beyond it", [&] { hover(1, 14, 10); }, 0, 22.8, 1, 15.71, {0, 191, 0}, 1},
        {"no shadow in the inset", [&] { hover(1, 5, 20); }, PASS_INSET_VIEW, 7.86, 0, 31.43, {0, 191, 0}, 2},
        {"no shadow when switched off", [&] { hover(1, 5, 20), shadowsEnabled = false; }, 0, 7.86, 0, 31.43, {0, 191, 0}, 2},
    };
    for (const auto& c : cases) {
        c.setUp();
        renderScene(c.pass);
        EXPECT_EQ(colourAt(c.x, c.y, c.z), c.colour) << c.what;
        EXPECT_EQ(stencilAt(c.x, c.y, c.z), c.stencil) << c.what;
        for (Ball* ball : balls) ball->pocketed = true;
        shadowsEnabled = true;
    }
}

std::string texts(const TextBlock& block) {
    std::string all;
    for (const TextLine& line : block.lines) all += line.text + "|";
    return all;
}

TEST_F(FrameTest, TheOverlaysTexts) {
    EXPECT_EQ(texts(statusPanelBlock(800, 600)), "Player 1 (SHOOTING)|Open|Player 2|Open|");
    referee.tableState = GroupsAssigned;
    referee.players[0].group = Stripes;
    referee.players[1].group = Solids;
    referee.stripesRemaining = 5;
    referee.solidsRemaining = 1;
    referee.currentPlayer = 1;
    EXPECT_EQ(texts(statusPanelBlock(800, 600)),
              "Player 1|Stripes|5 Balls Remaining|Player 2 (SHOOTING)|Solids|1 Ball Remaining|");
    EXPECT_EQ(texts(placementHelpBlock(800, 600)).substr(0, 37), "Player 2, please place the cue ball.|");
    referee.playState = GameOver;
    referee.winner = 1;
    EXPECT_EQ(texts(statusPanelBlock(800, 600)), "Player 1|Lost the game|Player 2 (SHOOTING)|Won the game|");
    EXPECT_EQ(texts(winnerBannerBlock(800, 600)), "Congratulations Player 2, you won!|To start a new game press F10.|");
    EXPECT_EQ(winnerBannerBlock(800, 600).lines[0].colour, YELLOW);
    referee.winner = 0;
    EXPECT_EQ(winnerBannerBlock(800, 600).lines[0].colour, WHITE);
}
} // namespace
