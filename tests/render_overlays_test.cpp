// The overlay screens: the text of every block, the overhead projection, where the text lands
// in the frame, and the layout at 800x600 and 1920x1080.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "app/shell.h"
#include "app_play_test_util.h"
#include "assets/texfont.h"
#include "render/overlays.h"
#include "render/scene.h"
#include "render_test_util.h"
#include "sim/ball.h"
#include "sim/referee.h"
#include "support/gl_test_main.h"

namespace {
// Window pixels, x to the right and y up from the lower-left corner; max exclusive.
struct Rect {
    double x0, y0, x1, y1;
    bool overlaps(const Rect& o) const { return x0 < o.x1 && o.x0 < x1 && y0 < o.y1 && o.y0 < y1; }
    bool inside(const Rect& o) const {
        return x0 >= o.x0 && y0 >= o.y0 && x1 <= o.x1 && y1 <= o.y1;
    }
    bool contains(int x, int y) const { return x >= x0 && x < x1 && y >= y0 && y < y1; }
};

class OverlaysTest : public testing::Test {
protected:
    void SetUp() override {
        startPlay();
        savedFont = font;
    }
    void TearDown() override { font = savedFont; } // some tests take the font away
    TextureFont* savedFont = nullptr;
};

void expectLine(const TextLine& line, double x, double y, float scale, const float* colour,
                const std::string& text) {
    EXPECT_EQ(line.x, float(x)) << text;
    EXPECT_EQ(line.y, float(y)) << text;
    EXPECT_EQ(line.scale, scale) << text;
    EXPECT_EQ(line.colour, colour) << text;
    EXPECT_EQ(line.text, text);
}

std::vector<std::string> texts(const TextBlock& block) {
    std::vector<std::string> result;
    for (const TextLine& line : block.lines) result.push_back(line.text);
    return result;
}

Rect viewportRect(const TextBlock& block) {
    const int* v = block.viewport;
    return {double(v[0]), double(v[1]), double(v[0] + v[2]), double(v[1] + v[3])};
}

// Where the inked boxes of a line's glyphs land in the window, from the font's own metrics.
Rect lineRect(const TextBlock& block, const TextLine& line) {
    double x0 = 1e9, y0 = 1e9, x1 = -1e9, y1 = -1e9, pen = 0.0;
    for (char c : line.text) {
        const GlyphQuad* quad = findGlyphQuad(font, c);
        for (const GlyphCorner& corner : quad->corners) {
            if (c == ' ') break;
            x0 = std::min(x0, pen + corner.position[0]);
            x1 = std::max(x1, pen + corner.position[0]);
            y0 = std::min(y0, double(corner.position[1]));
            y1 = std::max(y1, double(corner.position[1]));
        }
        pen += quad->advance;
    }
    const Rect v = viewportRect(block);
    const double* b = block.box;
    auto px = [&](double u) { return v.x0 + (line.x + line.scale * u - b[0]) / (b[1] - b[0]) * (v.x1 - v.x0); };
    auto py = [&](double u) { return v.y0 + (line.y + line.scale * u - b[2]) / (b[3] - b[2]) * (v.y1 - v.y0); };
    return {px(x0), py(y0), px(x1), py(y1)};
}

// Text lines of one frame stay inside the window and their own viewport, are tall enough to
// read, and never overlap each other or the areas given.
void expectLegibleLayout(const std::vector<TextBlock>& blocks, int width, int height,
                         std::vector<Rect> taken) {
    const Rect window = {0.0, 0.0, double(width), double(height)};
    for (const TextBlock& block : blocks) {
        for (const TextLine& line : block.lines) {
            const Rect r = lineRect(block, line);
            const std::string where = std::to_string(width) + "x" + std::to_string(height) + " \"" + line.text + "\"";
            EXPECT_TRUE(r.inside(window)) << where;
            EXPECT_TRUE(r.inside(viewportRect(block))) << where;
            EXPECT_GE(r.y1 - r.y0, 12.0) << where;
            for (const Rect& other : taken) EXPECT_FALSE(r.overlaps(other)) << where;
            taken.push_back(r);
        }
    }
}

void setWindow(int width, int height) {
    windowWidth = width;
    windowHeight = height;
}

TEST_F(OverlaysTest, StatusPanelAtTheBreak) {
    const TextBlock panel = statusPanelBlock(800, 600);
    ASSERT_EQ(panel.lines.size(), 4u);
    const double x = 10.0 - 600.0;
    expectLine(panel.lines[0], x, 200.0, 2.0f, WHITE, "Player 1 (SHOOTING)");
    expectLine(panel.lines[1], x, 100.0, 2.0f, WHITE, "Open");
    expectLine(panel.lines[2], x, -200.0, 2.0f, YELLOW, "Player 2");
    expectLine(panel.lines[3], x, -300.0, 2.0f, YELLOW, "Open");
    EXPECT_FALSE(panel.lightingOff);
    EXPECT_FALSE(panel.restoreViewport);
}

TEST_F(OverlaysTest, StatusPanelNamesEachGroupAndWhatIsLeftOfIt) {
    referee.tableState = GroupsAssigned;
    referee.players[0].group = Stripes;
    referee.players[1].group = Solids;
    referee.stripesRemaining = 1;
    referee.solidsRemaining = 0;
    referee.currentPlayer = 1;
    EXPECT_EQ(texts(statusPanelBlock(1920, 1080)),
              (std::vector<std::string>{"Player 1", "Stripes", "1 Ball Remaining",
                                        "Player 2 (SHOOTING)", "Solids", "Only 8 Ball Remaining"}));
    const TextBlock panel = statusPanelBlock(1920, 1080);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(panel.lines[i].y, float(540 - 100 - 100 * i));
        EXPECT_EQ(panel.lines[3 + i].y, float(540 - 500 - 100 * i));
    }
    referee.stripesRemaining = 5;
    EXPECT_EQ(statusPanelBlock(1920, 1080).lines[2].text, "5 Balls Remaining");
}

TEST_F(OverlaysTest, AGameWonByPlayerTwoShowsTheResultAndAYellowBanner) {
    referee.playState = GameOver;
    referee.currentPlayer = 1;
    referee.winner = 1;
    EXPECT_EQ(texts(statusPanelBlock(800, 600)),
              (std::vector<std::string>{"Player 1", "Lost the game", "Player 2 (SHOOTING)",
                                        "Won the game"}));
    const TextBlock banner = winnerBannerBlock(800, 600);
    ASSERT_EQ(banner.lines.size(), 2u);
    expectLine(banner.lines[0], -800.0, 200.0, 2.0f, YELLOW, "Congratulations Player 2, you won!");
    expectLine(banner.lines[1], -800.0, 100.0, 2.0f, YELLOW, "To start a new game press F10.");
    referee.winner = 0;
    EXPECT_EQ(winnerBannerBlock(800, 600).lines[0].colour, WHITE);
}

TEST_F(OverlaysTest, HelpAndPlacementTextsAndWhereTheirLinesStart) {
    referee.currentPlayer = 1;
    const TextBlock help = placementHelpBlock(1920, 1080);
    EXPECT_EQ(texts(help), (std::vector<std::string>{
                               "Player 2, please place the cue ball.", "Commands: ",
                               "    arrow keys: move the cue ball",
                               "    alt/ctrl:   use w/ arrow keys to speed up movement",
                               "    enter:      place the cue ball"}));
    expectLine(help.lines[0], -1920.0, 270 - 1080 + 150, 1.0f, WHITE, help.lines[0].text);
    expectLine(help.lines[4], -1920.0, 270 - 1080 - 75, 1.0f, WHITE, help.lines[4].text);
    const TextBlock aiming = aimingHelpBlock(1920, 1080);
    ASSERT_EQ(aiming.lines.size(), 7u);
    expectLine(aiming.lines[3], -1920.0, 270 - 1080 - 25, 0.8f, WHITE,
               "    alt/ctrl:                use w/ arrow keys to speed up movement");
    expectLine(aiming.lines[6], -1920.0, 270 - 1080 - 175, 0.8f, WHITE,
               "    esc:                     exit from the game");
    const TextBlock rejected = placementRejectedBlock(1920, 1080);
    expectLine(rejected.lines[0], -1920.0, 810 - 1080 + 50, 1.0f, WHITE,
               "The cue ball may not be placed on top of another ball.");
    expectLine(rejected.lines[1], -1920.0, 810 - 1080, 1.0f, WHITE,
               "Please select a different location.");
    for (const TextBlock* block : {&help, &aiming, &rejected}) {
        EXPECT_TRUE(block->lightingOff);
        EXPECT_TRUE(block->restoreViewport);
    }
    EXPECT_EQ(rejected.viewport[1], 135);
    EXPECT_EQ(help.viewport[0], 120);
}

// Mended layout: as first laid out, a window under 800 pixels high lost the last help line
// below its bottom edge and player 2's last lines below the panel, and the banner's first line
// ran out of its half-width viewport under 850 pixels wide. Scales and positions are kept.
TEST_F(OverlaysTest, TextIsLegibleAndNothingOverlapsAt800x600And1920x1080) {
    ASSERT_NE(font, nullptr);
    referee.tableState = GroupsAssigned;
    referee.players[0].group = Stripes;
    referee.players[1].group = Solids;
    referee.currentPlayer = 1;
    for (auto [w, h] : {std::pair{800, 600}, std::pair{1920, 1080}, std::pair{1024, 768},
                        std::pair{1280, 720}}) {
        const Rect inset = {double(3 * w / 4), double(3 * h / 4), double(w), double(h)};
        referee.playState = Aiming;
        expectLegibleLayout({statusPanelBlock(w, h), aimingHelpBlock(w, h)}, w, h, {inset});
        referee.playState = GameOver;
        expectLegibleLayout({statusPanelBlock(w, h), winnerBannerBlock(w, h), aimingHelpBlock(w, h)},
                            w, h, {inset});
        referee.giveBallInHand();
        expectLegibleLayout({placementRejectedBlock(w, h), placementHelpBlock(w, h)}, w, h, {});
    }
    // Where nothing needed mending, the viewports are as first laid out.
    const TextBlock panel = statusPanelBlock(1920, 1080);
    EXPECT_EQ(std::vector<int>(panel.viewport, panel.viewport + 4),
              (std::vector<int>{0, 810, 720, 270}));
    EXPECT_EQ(panel.box[2], -540.0);
    EXPECT_EQ(aimingHelpBlock(1920, 1080).lines[0].y, float(270 - 1080 + 150));
}

TEST_F(OverlaysTest, OverheadProjectionKeepsTheTableBoxWithSquarePixels) {
    const struct {
        int w, h;
        double left, right, bottom, top;
    } cases[] = {{1000, 500, -50, 62, -28, 28}, {800, 600, -50, 50, -47, 28}};
    for (const auto& c : cases) {
        setWindow(c.w, c.h);
        double got[16], want[16];
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        setOverheadProjection();
        glGetDoublev(GL_PROJECTION_MATRIX, got);
        glLoadIdentity();
        glOrtho(c.left, c.right, c.bottom, c.top, 0.0, 15.0);
        glGetDoublev(GL_PROJECTION_MATRIX, want);
        glMatrixMode(GL_MODELVIEW);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(got[i], want[i], 1e-6) << c.w << "x" << c.h << " " << i;
    }
}

// The frame as the display draws it, with or without the overlay font.
Image frame(bool placing, TextureFont* withFont) {
    TextureFont* saved = font;
    font = withFont;
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    if (placing) {
        drawPlacementScreen();
    } else {
        drawScene(PASS_MAIN_VIEW);
        drawOverlays();
    }
    glFinish();
    font = saved;
    return readBackBuffer();
}

const unsigned char* at(const Image& image, int x, int y) {
    return &image.rgb[(size_t(image.height - 1 - y) * image.width + x) * 3];
}

// Pixels the text changed, and whether every line got some of them and none fell outside the
// lines' boxes; also how many of a line's changed pixels are in its colour.
struct TextPixels {
    std::vector<int> perLine;
    std::vector<int> inColour;
    int stray = 0;
};

TextPixels textPixels(const Image& with, const Image& without, const std::vector<TextBlock>& blocks) {
    std::vector<std::pair<Rect, const float*>> rects;
    for (const TextBlock& block : blocks)
        for (const TextLine& line : block.lines) rects.push_back({lineRect(block, line), line.colour});
    TextPixels result{std::vector<int>(rects.size()), std::vector<int>(rects.size()), 0};
    for (int y = 0; y < with.height; ++y) {
        for (int x = 0; x < with.width; ++x) {
            const unsigned char* a = at(with, x, y);
            const unsigned char* b = at(without, x, y);
            if (a[0] == b[0] && a[1] == b[1] && a[2] == b[2]) continue;
            bool inside = false;
            for (size_t i = 0; i < rects.size(); ++i) {
                Rect grown = rects[i].first;
                grown.x0 -= 1.0, grown.y0 -= 1.0, grown.x1 += 1.0, grown.y1 += 1.0; // filtering
                if (!grown.contains(x, y)) continue;
                inside = true;
                ++result.perLine[i];
                const float* c = rects[i].second;
                const bool strong = a[0] > 200 && a[1] > 200;
                if (strong && (c[2] > 0.5f ? a[2] > 200 : a[2] < 120)) ++result.inColour[i];
            }
            if (!inside) ++result.stray;
        }
    }
    return result;
}

TEST_F(OverlaysTest, TheNormalFrameShowsEachLineInItsColourAndNoTextElsewhere) {
    referee.playState = GameOver;
    referee.winner = 1;
    const Image with = frame(false, font), without = frame(false, nullptr);
    const std::vector<TextBlock> blocks = {statusPanelBlock(800, 600), winnerBannerBlock(800, 600),
                                           aimingHelpBlock(800, 600)};
    const TextPixels pixels = textPixels(with, without, blocks);
    EXPECT_EQ(pixels.stray, 0);
    for (size_t i = 0; i < pixels.perLine.size(); ++i) {
        EXPECT_GT(pixels.perLine[i], 20) << "line " << i;
        EXPECT_GT(pixels.inColour[i], 5) << "line " << i;
    }
}

TEST_F(OverlaysTest, NoBannerBeforeTheGameIsOver) {
    const Image with = frame(false, font), without = frame(false, nullptr);
    const TextPixels pixels =
        textPixels(with, without, {statusPanelBlock(800, 600), aimingHelpBlock(800, 600)});
    EXPECT_EQ(pixels.stray, 0);
}

TEST_F(OverlaysTest, TheInsetShowsTheTableFromAboveInTheUpperRightQuarter) {
    const Image image = frame(false, font);
    // The cue ball at (0, 1, 22): across at -z = -22 of -50..50, up at -x = 0 of -47..28.
    const int x = 600 + int((-22.0 + 50.0) / 100.0 * 200.0);
    const int y = 450 + int((0.0 + 47.0) / 75.0 * 150.0);
    const unsigned char* p = at(image, x, y);
    EXPECT_GT(p[0], 150);
    EXPECT_GT(p[2], 150); // white ball, not the green felt
}

TEST_F(OverlaysTest, TheRefusalShowsInTheNextFrameOnly) {
    referee.giveBallInHand();
    referee.currentPlayer = 1;
    const Image plain = frame(true, font);
    referee.placementRejected = true;
    const Image refused = frame(true, font);
    EXPECT_FALSE(referee.placementRejected);
    const Image next = frame(true, font);
    EXPECT_TRUE(sameImage(next, plain));
    const TextPixels pixels = textPixels(refused, plain, {placementRejectedBlock(800, 600)});
    EXPECT_EQ(pixels.stray, 0);
    EXPECT_GT(pixels.perLine[0], 20);
    EXPECT_GT(pixels.perLine[1], 20);
    const TextPixels help =
        textPixels(plain, frame(true, nullptr), {placementHelpBlock(800, 600)});
    EXPECT_EQ(help.stray, 0);
    EXPECT_GT(help.perLine[0], 20);
}

TEST_F(OverlaysTest, WithoutAFontTheScreensAreDrawnWithoutTextAndTheRefusalIsStillCleared) {
    font = nullptr;
    referee.playState = GameOver;
    const Image over = frame(false, nullptr);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT | GL_STENCIL_BUFFER_BIT);
    drawScene(PASS_MAIN_VIEW);
    const Image sceneOnly = readBackBuffer();
    int insetChanged = 0, elsewhereChanged = 0;
    for (int y = 0; y < 600; ++y) {
        for (int x = 0; x < 800; ++x) {
            const bool changed = !std::equal(at(over, x, y), at(over, x, y) + 3, at(sceneOnly, x, y));
            (x >= 600 && y >= 450 ? insetChanged : elsewhereChanged) += changed;
        }
    }
    EXPECT_GT(insetChanged, 10000); // the inset is still there
    EXPECT_EQ(elsewhereChanged, 0);  // and no text
    referee.giveBallInHand();
    referee.placementRejected = true;
    frame(true, nullptr);
    EXPECT_FALSE(referee.placementRejected);
}

TEST_F(OverlaysTest, TheOverlaysLeaveTheStateTheNextFrameExpects) {
    frame(false, font);
    frame(true, font);
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_LIGHTING));
    int depth = 0;
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &depth);
    EXPECT_EQ(depth, 1);
    int viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[0], 0);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
} // namespace
