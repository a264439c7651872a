// The shell: the frames display() and the scene pass draw against committed reference pictures
// (scripts/update_reference_frames.sh rewrites them when a change of look is meant), the GL state
// every draw leaves, reshape and the menu.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <string>

#include "app/objects.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "game_test_util.h"
#include "render/camera.h"
#include "render/cue.h"
#include "render/gl_baseline.h"
#include "render/overlays.h"
#include "render/scene.h"
#include "sim/ball.h"
#include "sim/referee.h"

using Image = std::vector<unsigned char>; // the 800x600 window, RGB, rows bottom to top
static Image swappedFrame;

static Image readBackBuffer() {
    Image rgb(800 * 600 * 3); // rows of 2400 bytes: the default alignment of 4 adds no padding
    glReadPixels(0, 0, 800, 600, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

namespace {
struct ShellTest : testing::Test {
    void SetUp() override {
        startPlay();
        swapBuffers = [] { // keeps what each swap shows
            swappedFrame = readBackBuffer();
            glutSwapBuffers();
        };
    }
};

// Clears everything and draws one scene pass into the back buffer.
void renderScene(int passFlags) {
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawScene(sceneView(), passFlags);
    glFinish();
}

constexpr int W = 400, H = 300; // reference pictures: the 800x600 frame, each pixel a 2x2 mean
constexpr int TOLERANCE = 3;    // a channel value further off is a different one
constexpr double MAX_DIFFERENT_VALUES = 0.00002; // fraction of the frame's channel values

// Compares the frame, halved, with its reference picture, or rewrites the picture when
// POOL_UPDATE_REFERENCE_FRAMES is set. PNG rows run top to bottom, the frame's bottom to top.
void checkFrame(const std::string& name, const Image& frame) {
    Image half(W * H * 3), reference(W * H * 3);
    for (int i = 0; i < W * H * 3; ++i) {
        const int at = (i / 3 / W * 4 * W + i / 3 % W * 2) * 3 + i % 3;
        const int sum = frame[at] + frame[at + 3] + frame[at + 6 * W] + frame[at + 6 * W + 3];
        half[i] = (unsigned char)((sum + 2) / 4);
    }
    const std::string path = std::getenv("POOL_TEST_DATA") + ("/reference/" + name + ".png");
    const bool update = std::getenv("POOL_UPDATE_REFERENCE_FRAMES");
    const std::string written = update ? path : testing::TempDir() + name + ".png";
    png_image png{};
    png.version = PNG_IMAGE_VERSION, png.width = W, png.height = H, png.format = PNG_FORMAT_RGB;
    ASSERT_TRUE(png_image_write_to_file(&png, written.c_str(), 0, half.data(), -3 * W, nullptr));
    if (update) return;
    png = png_image{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, path.c_str())) << path;
    ASSERT_EQ(png.width * png.height, W * H) << path;
    png.format = PNG_FORMAT_RGB;
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, reference.data(), -3 * W, nullptr));
    int different = 0;
    for (int i = 0; i < W * H * 3; ++i) different += std::abs(half[i] - reference[i]) > TOLERANCE;
    EXPECT_LE(different, MAX_DIFFERENT_VALUES * W * H * 3) << name << ": see " << written;
}

Image displayedFrame() {
    glClear(GL_COLOR_BUFFER_BIT); // nothing of an earlier frame may show through
    display();
    return swappedFrame;
}

// The inset's view from above of balls spread mid-game, each turned its own way, two pocketed; the
// main view aiming, with each render toggle off in turn, on the room both ways, and near pockets.
TEST_F(ShellTest, ScenesFromAboveWhileAimingWithEachToggleOffFromAfarAndNearPockets) {
    const double spots[BALL_COUNT][2] = {
        {-6, 8},      {3, -10}, {-12, -30}, {15, -38}, {0, 0},    {8, 20}, {-18, -5}, {0, -25},
        {1.9, -26.6}, {-5, 35}, {19, 10},   {-20, 41}, {10, -20}, {0, 0},  {-8, -15}, {5, 0}};
    for (int i = 0; i < BALL_COUNT; ++i) {
        game.balls[i].position = Vec3(spots[i][0], 1.0, spots[i][1]);
        game.balls[i].rotation =
            Vec3(1.7 * std::sin(i), 0.3 * std::cos(3.0 * i), 1.7 * std::cos(i));
    }
    game.balls[4].pocketed = game.balls[13].pocketed = true;
    glMatrixMode(GL_PROJECTION); // the overhead projection, as the game sets it for the window
    glLoadIdentity();
    setOverheadProjection(windowWidth, windowHeight);
    renderScene(PASS_INSET_VIEW);
    checkFrame("overhead_inset", readBackBuffer());
    reshape(800, 600);
    cue->setPosition(-6.0, 1.0, 8.0);
    cue->resetAim(20.0, 10.0);
    cue->pull = 30.0;
    struct View {
        const char* name;
        bool* off;
        double x, z, distance, azimuth, elevation;
    };
    const View views[] = {{"aiming", nullptr, -6, 8, 40, 20, 15},
                          {"room", nullptr, 0, 0, 150, 35, 25},
                          {"aiming_no_lighting", &toggles.lighting, -6, 8, 40, 20, 15},
                          {"aiming_no_shadows", &toggles.shadows, -6, 8, 40, 20, 15},
                          {"aiming_no_texturing", &toggles.texturing, -6, 8, 40, 20, 15},
                          {"room_behind", nullptr, 0, 0, 150, 215, 25},
                          {"pocket", nullptr, 20, -42, 14, 40, 55},
                          {"side_pocket", nullptr, -21, 0, 14, -90, 45}};
    for (const auto& v : views) {
        toggles.lighting = toggles.shadows = toggles.texturing = true;
        if (v.off) *v.off = false;
        camera->setTarget(v.x, 1.0, v.z);
        camera->setOrbit(v.distance, v.azimuth, v.elevation, 0.0, 1.0, 0.0);
        renderScene(PASS_MAIN_VIEW);
        checkFrame(v.name, readBackBuffer());
    }
}

// Screens as display() shows them: the overlays, the game's end, a refused spot shown once. As
// first laid out, a window under 800 pixels high lost its last help line and player 2's last
// lines, and under 850 wide the banner was cut off.
TEST_F(ShellTest, TheScreensOfAGame) {
    EXPECT_EQ(statusPanelBlock(game.referee, 800, 600).lines[1].text, "Open"); // before the groups
    game.referee.tableState = TableState::GroupsAssigned;
    game.referee.players[0].group = BallGroup::Stripes;
    game.referee.players[1].group = BallGroup::Solids;
    game.referee.stripesRemaining = 1;
    game.referee.solidsRemaining = 0;
    game.referee.currentPlayer = 1;
    checkFrame("screen_groups", displayedFrame());
    game.referee.playState = PlayState::GameOver;
    game.referee.winner = 1;
    checkFrame("screen_game_over", displayedFrame());
    game.referee.giveBallInHand();
    game.liftCueBall();
    const Vec3 centre = game.balls[0].position;
    game.balls[0].position = game.balls[1].position; // over the apex ball
    EXPECT_FALSE(placeCueBall());
    game.balls[0].position = centre; // hovering where the reference frame shows it
    checkFrame("screen_refused", displayedFrame());
    EXPECT_FALSE(placementRefused()) << "shown once";
    TextureFont* const loaded = font;
    testing::internal::CaptureStderr(); // the font missing: said once, the screens without text
    loadFont("Data/no-such-font.txf");
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "Cannot load the font Data/no-such-font.txf: file open failed. The screens are shown "
              "without text.\n");
    EXPECT_EQ(font, nullptr);
    displayedFrame(); // and the screens still draw
    font = loaded;
}

// Mended: a computer player's line pushed player 1's block into player 2's with no blank line
// between, and the demonstration's banner asked for F10 though its next game starts by itself.
TEST_F(ShellTest, TheComputersLinesKeepThePanelsSpacingAndTheDemonstrationsBanner) {
    game.referee.tableState = TableState::GroupsAssigned;
    game.referee.players[0].group = BallGroup::Stripes;
    game.referee.players[1].group = BallGroup::Solids;
    for (const bool seats : {false, true}) {
        const char* const marks[2] = {seats ? "Computer" : nullptr, seats ? "Remote" : nullptr};
        const TextBlock panel = statusPanelBlock(game.referee, 800, 600, marks);
        const std::vector<TextLine>& lines = panel.lines;
        ASSERT_EQ(lines.size(), seats ? 8u : 6u);
        const size_t second = lines.size() / 2; // "Player 2"
        EXPECT_EQ(lines[second].text, "Player 2");
        EXPECT_EQ(lines[second - 1].y - lines[second].y, 200.0f) << "one blank line between";
        // The last line's glyphs lie inside the panel, 4 units a pixel.
        EXPECT_LE(panel.box[2], lines.back().y - 20.0) << seats;
        const TextBlock banner = winnerBannerBlock(game.referee, 800, 600, seats);
        EXPECT_EQ(banner.lines[1].text,
                  seats ? "The next game starts by itself." : "To start a new game press F10.");
    }
}

// The render menu's switches numbered 0 to 7, bits 1, 2 and 4 lighting, shadows and texturing.
RenderToggles togglesOf(int combination) {
    return {bool(combination & 1), bool(combination & 2), bool(combination & 4)};
}

// Each draw leaves the state the next one expects, whatever the toggles, aiming or at the game's
// end with the cue put away, a refused spot shown, and without the font, which skips every text.
TEST_F(ShellTest, StartUpAndEveryDrawLeaveTheGlBaseline) {
    const auto expectBaseline = [](const char* after) {
        EXPECT_EQ(differencesFromGlBaseline(800, 600), std::vector<std::string>{}) << after;
    };
    expectBaseline("start-up");
    TextureFont* const loaded = font;
    for (int combination = 0; combination < 16; ++combination) {
        toggles = togglesOf(combination % 8);
        game.referee.playState = combination < 8 ? PlayState::Aiming : PlayState::GameOver;
        font = combination == 15 ? nullptr : loaded;
        SCOPED_TRACE(combination); // 8 and on at the game's end, 15 without the font
        SceneView view = sceneView();
        view.placementRefused = true;
        drawScene(view, PASS_MAIN_VIEW);
        expectBaseline("the scene");
        drawOverlays(view);
        expectBaseline("the overlays");
        drawPlacementScreen(view);
        expectBaseline("the placement screen");
    }
    font = loaded;
}

// Mended: with lighting off, the balls' unlit skins left their texture environment behind, and the
// status panel's glyphs took the font's white in place of player 2's yellow.
TEST_F(ShellTest, TheStatusPanelLooksTheSameWhateverTheToggles) {
    const TextBlock block = statusPanelBlock(game.referee, 800, 600);
    const int* v = block.viewport;
    const auto panel = [v] { // 300 pixels wide: its rows need no padding
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
        drawOverlays(sceneView());
        Image rgb(size_t(v[2]) * v[3] * 3);
        glReadPixels(v[0], v[1], v[2], v[3], GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    };
    const Image allOn = panel();
    for (int combination = 0; combination < 7; ++combination) {
        toggles = togglesOf(combination);
        EXPECT_TRUE(panel() == allOn) << "toggles " << combination;
    }
}

// Reshape gives a 45-degree vertical field of view at the window's aspect, or at aspect 1 for a
// minimised window; a game lost on a scratch turns the view to the table's centre.
TEST_F(ShellTest, ReshapeGivesAFiniteProjectionAndAScratchToLoseTurnsTheView) {
    for (auto [w, h, xScale] : {std::tuple{1024, 768, 1.8106602}, {0, 600, 2.4142136}}) {
        reshape(w, h);
        double p[16];
        glGetDoublev(GL_PROJECTION_MATRIX, p);
        EXPECT_NEAR(p[0], xScale, 1e-6) << w << "x" << h;
        EXPECT_NEAR(p[5], 2.4142136, 1e-6) << w << "x" << h; // 1 / tan 22.5 degrees
    }
    game.referee.startShot(); // the eight and the cue ball dropped in the shot now ending
    game.referee.ballPocketed(8);
    game.referee.ballPocketed(0);
    game.balls[0].pocketed = true;
    playFrame(1.0 / 60.0);
    EXPECT_TRUE(game.referee.isGameOver());
    EXPECT_EQ((Xyz{camera->targetX, camera->targetY, camera->targetZ}), (Xyz{0, 0, 0}));
}

TEST_F(ShellTest, TheMenuHasThreeTogglesEachFlippingItsOwnSwitch) {
    createMenu();
    EXPECT_EQ(glutGet(GLUT_MENU_NUM_ITEMS), 3);
    bool* switches[] = {&toggles.lighting, &toggles.shadows, &toggles.texturing};
    for (int i = 0; i < 3; ++i) {
        menu(MENU_ENTRIES[i].value);
        for (int j = 0; j < 3; ++j) EXPECT_EQ(*switches[j], j != i) << MENU_ENTRIES[i].label;
        menu(MENU_ENTRIES[i].value);
        EXPECT_TRUE(*switches[i]);
    }
    EXPECT_EQ(redisplayRequests, 6);
}

TEST(Display, WithoutOneTheGameSaysHowToRunItAndEndsWithStatusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fork would share the X connection
    EXPECT_EXIT((checkLeaksBeforeTheDriverUnloads(), unsetenv("DISPLAY"), requireDisplay("pool")),
                testing::ExitedWithCode(1),
                "^pool: cannot open the X display \"\"; run it on a desktop, or under a virtual "
                "display: xvfb-run -a -s \"-screen 0 1920x1080x24\" pool\n$");
}
} // namespace
