// The overlay screens, each block of text in a viewport and orthographic box of its own.
#include "render/overlays.h"

#include <GL/freeglut.h>

#include <algorithm>
#include <array>
#include <cmath>

#include "assets/texfont.h"
#include "render/scene.h"
#include "sim/referee.h"

const float WHITE[3] = {1.0f, 1.0f, 1.0f};
const float YELLOW[3] = {1.0f, 1.0f, 0.0f};

namespace {
constexpr double OVERHEAD_WIDTH = 100.0; // world units across, from -50
constexpr double OVERHEAD_HEIGHT = 56.0; // world units up, from -28
constexpr double OVERHEAD_FAR = 15.0;    // world units below the overhead eye
constexpr double TEXT_FAR = 10.0;
// The status panel's lowest line lies 175 pixels below the window's top (200 with a computer
// player's line) and half-size glyphs reach 5 pixels below it; a quarter of a short window is
// less, so the panel then reaches further down at the same scale.
constexpr int STATUS_PANEL_MIN_HEIGHT = 200; // pixels
constexpr int GLYPH_DESCENT = 5;             // pixels below a line's base
constexpr float LINE_SPACING = 100.0f;       // orthographic units between the panel's lines
// The aiming help's lowest line lies (base - 175) / 2 pixels above the window's bottom; a
// quarter of a short window as its base would put it below the window.
constexpr int AIMING_HELP_MIN_BASE = 200; // orthographic units

// The overhead views' orthographic box, in world units across and up the screen.
struct OverheadBox {
    double left, right, bottom, top;
};

// The extra room of a window wider or taller than 100 : 56 goes to the right or downwards.
OverheadBox overheadBox(int width, int height) {
    const double a = double(height) / width;
    const double left = -0.5 * OVERHEAD_WIDTH, top = 0.5 * OVERHEAD_HEIGHT;
    if (a <= OVERHEAD_HEIGHT / OVERHEAD_WIDTH) return {left, OVERHEAD_HEIGHT / a + left, -top, top};
    return {left, -left, top - OVERHEAD_WIDTH * a, top};
}

const float* playerColour(int playerNumber) { return playerNumber == 1 ? WHITE : YELLOW; }

// The far bound of a box that keeps its scale when its viewport grows from span to newSpan
// pixels.
double keepScale(double near, double far, int span, int newSpan) {
    if (span <= 0) return far;
    return near + (far - near) * (double(newSpan) / span);
}

// The three help-type blocks: W/16 pixels in, two orthographic units per pixel, white.
TextBlock helpBlock(int width, int height, int viewportY, float scale, double base,
                    const std::vector<std::pair<double, std::string>>& lines) {
    TextBlock block;
    const int v[4] = {width / 16, viewportY, width, height};
    std::copy(v, v + 4, block.viewport);
    const double b[4] = {-double(width), double(width), -double(height), double(height)};
    std::copy(b, b + 4, block.box);
    for (const auto& [offset, text] : lines)
        block.lines.push_back({float(-width), float(base - height + offset), scale, WHITE, text});
    return block;
}

// Adds the player's lines from `top` down, one every LINE_SPACING units; returns the height of
// the last one.
float addPlayerLines(TextBlock& block, const Referee& referee, int player, float x, float top,
                     const char* mark) {
    const float* colour = playerColour(player);
    float y = top;
    auto add = [&](const std::string& text) {
        block.lines.push_back({x, y, 2.0f, colour, text});
        y -= LINE_SPACING;
    };
    add("Player " + std::to_string(player) +
        (player == referee.currentPlayerNumber() ? " (SHOOTING)" : ""));
    if (mark) add(mark);
    if (referee.isGameOver()) {
        add(std::string(player == referee.winnerNumber() ? "Won" : "Lost") + " the game");
        return y + LINE_SPACING;
    }
    if (referee.isOpenTable()) {
        add("Open");
        return y + LINE_SPACING;
    }
    const BallGroup group = referee.groupOfPlayer(player);
    add(group == BallGroup::Stripes ? "Stripes" : "Solids");
    const int remaining = referee.remainingInGroup(group);
    add(remaining == 0
            ? std::string("Only 8 Ball Remaining")
            : std::to_string(remaining) + (remaining == 1 ? " Ball" : " Balls") + " Remaining");
    return y + LINE_SPACING;
}

// Who plays each seat, as the status panel marks it.
std::array<const char*, 2> seatMarks(const SceneView& view) {
    std::array<const char*, 2> marks = {nullptr, nullptr};
    for (int seat = 0; seat < 2; ++seat) {
        if (view.computerPlays && view.computerPlays[seat]) marks[seat] = "Computer";
        if (seat == view.remoteSeat) marks[seat] = "Remote";
    }
    return marks;
}

// Draws under the overhead projection, then puts the projection back.
template <typename Draw> void withOverheadProjection(const SceneView& view, Draw draw) {
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    setOverheadProjection(view.width, view.height);
    glMatrixMode(GL_MODELVIEW);
    draw();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
}
} // namespace

// Player 2's block starts on the fifth line, or lower when player 1's runs longer (the
// computer's line), always after a blank line, and so does the note; the panel grows down to its
// last line.
TextBlock statusPanelBlock(const Referee& referee, int width, int height,
                           const char* const marks[2], const std::string& note) {
    TextBlock block;
    const double halfHeight = 0.5 * height;
    const float x = float(10.0 - 0.75 * width);
    const float lastOfPlayer1 =
        addPlayerLines(block, referee, 1, x, float(halfHeight - 100.0), marks ? marks[0] : nullptr);
    const float top2 = std::min(float(halfHeight - 500.0), lastOfPlayer1 - 2 * LINE_SPACING);
    float last = addPlayerLines(block, referee, 2, x, top2, marks ? marks[1] : nullptr);
    if (!note.empty()) {
        last -= 2 * LINE_SPACING;
        block.lines.push_back({x, last, 2.0f, WHITE, note});
    }
    const int quarter = height / 4;
    const int linesHeight =
        height > 0 ? int(std::ceil((halfHeight - last) * quarter / height)) + GLYPH_DESCENT : 0;
    const int panelHeight = std::max({quarter, STATUS_PANEL_MIN_HEIGHT, linesHeight});
    const int top = 3 * height / 4 + quarter;
    const int v[4] = {0, top - panelHeight, 3 * width / 8, panelHeight};
    std::copy(v, v + 4, block.viewport);
    const double b[4] = {-0.75 * width, 0.75 * width,
                         keepScale(halfHeight, -halfHeight, quarter, panelHeight), halfHeight};
    std::copy(b, b + 4, block.box);
    return block;
}

// The banner's box keeps its scale but its viewport reaches the window's right edge, so the
// first line is not cut off in a narrow window.
TextBlock winnerBannerBlock(const Referee& referee, int width, int height,
                            bool nextGameStartsItself) {
    TextBlock block;
    const int v[4] = {width / 4, height / 4, width - width / 4, height / 2};
    std::copy(v, v + 4, block.viewport);
    const double b[4] = {-double(width), keepScale(-width, width, width / 2, v[2]), -double(height),
                         double(height)};
    std::copy(b, b + 4, block.box);
    const int winner = referee.winnerNumber();
    const float x = float(-width);
    block.lines.push_back({x, float(0.5 * height - 100.0), 2.0f, playerColour(winner),
                           "Congratulations Player " + std::to_string(winner) + ", you won!"});
    const char* const next =
        nextGameStartsItself ? "The next game starts by itself." : "To start a new game press F10.";
    block.lines.push_back({x, float(0.5 * height - 200.0), 2.0f, playerColour(winner), next});
    return block;
}

TextBlock aimingHelpBlock(int width, int height) {
    const double base = std::max(height / 4, AIMING_HELP_MIN_BASE);
    return helpBlock(width, height, 0, 0.8f, base,
                     {{150, "Commands: "},
                      {75, "    arrow keys (left,right): change shot angle"},
                      {25, "    arrow keys (up,down):    change point of view"},
                      {-25, "    alt/ctrl:                use w/ arrow keys to speed up movement"},
                      {-75, "    z,x:                     zoom in, zoom out"},
                      {-125, "    space:                   hold down to shoot"},
                      {-175, "    esc:                     exit from the game"}});
}

TextBlock placementHelpBlock(const Referee& referee, int width, int height) {
    const std::string prompt =
        "Player " + std::to_string(referee.currentPlayerNumber()) + ", please place the cue ball.";
    return helpBlock(width, height, 0, 1.0f, height / 4,
                     {{150, prompt},
                      {75, "Commands: "},
                      {25, "    arrow keys: move the cue ball"},
                      {-25, "    alt/ctrl:   use w/ arrow keys to speed up movement"},
                      {-75, "    enter:      place the cue ball"}});
}

TextBlock placementRejectedBlock(int width, int height) {
    return helpBlock(width, height, height / 8, 1.0f, 3 * height / 4,
                     {{50, "The cue ball may not be placed on top of another ball."},
                      {0, "Please select a different location."}});
}

// Text lies on top of everything drawn before it, so the depth test is off while it is drawn:
// a glyph's box may overlap its neighbour's.
void drawTextBlock(const SceneView& view, const TextBlock& block) {
    const TextureFont* font = view.font;
    if (!font) return;
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    bindFontTexture(font);
    glViewport(block.viewport[0], block.viewport[1], block.viewport[2], block.viewport[3]);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(block.box[0], block.box[1], block.box[2], block.box[3], 0.0, TEXT_FAR);
    glMatrixMode(GL_MODELVIEW);
    const float* colour = nullptr;
    for (const TextLine& line : block.lines) {
        if (line.colour != colour) glColor3fv(colour = line.colour);
        glLoadIdentity();
        glTranslatef(line.x, line.y, 0.0f);
        glScalef(line.scale, line.scale, line.scale);
        drawString(font, line.text.c_str(), int(line.text.size()));
    }
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    glDisable(GL_BLEND);
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_DEPTH_TEST);
    glViewport(0, 0, view.width, view.height);
}

void setOverheadProjection(int width, int height) {
    if (width <= 0 || height <= 0) return; // a minimised window shows nothing
    const OverheadBox box = overheadBox(width, height);
    glOrtho(box.left, box.right, box.bottom, box.top, 0.0, OVERHEAD_FAR);
}

// The overhead camera looks straight down with the screen's up along -x and its right along -z.
Vec3 overheadPoint(int width, int height, int px, int py) {
    const OverheadBox box = overheadBox(width, height);
    const double across = box.left + (px + 0.5) * (box.right - box.left) / width;
    const double up = box.top - (py + 0.5) * (box.top - box.bottom) / height;
    return Vec3(-up, 0.0, -across);
}

void drawOverlays(const SceneView& view) {
    const int w = view.width, h = view.height;
    const Referee& referee = view.game->referee;
    glClear(GL_DEPTH_BUFFER_BIT);
    glViewport(3 * w / 4, 3 * h / 4, w / 4, h / 4);
    withOverheadProjection(view, [&] {
        drawScene(view, PASS_INSET_VIEW);
        glViewport(0, 0, w, h);
        drawTextBlock(view,
                      statusPanelBlock(referee, w, h, seatMarks(view).data(), view.networkNote));
        // The demonstration and the network game rack the next game themselves.
        const bool racksItself =
            view.remoteSeat >= 0 ||
            (view.computerPlays && view.computerPlays[0] && view.computerPlays[1]);
        if (referee.isGameOver())
            drawTextBlock(view, winnerBannerBlock(referee, w, h, racksItself));
        drawTextBlock(view, aimingHelpBlock(w, h));
    });
}

void drawPlacementScreen(const SceneView& view) {
    const Referee& referee = view.game->referee;
    withOverheadProjection(view, [&] {
        drawScene(view, PASS_PLACEMENT_VIEW);
        if (view.placementRefused)
            drawTextBlock(view, placementRejectedBlock(view.width, view.height));
        drawTextBlock(view, placementHelpBlock(referee, view.width, view.height));
    });
}
