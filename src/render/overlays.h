// The overlay screens: the overhead inset, the status panel, the help texts, the winner banner,
// and the whole frame of the ball-in-hand placement screen.
#pragma once

#include <string>
#include <vector>

#include "render/scene.h"

// One line of text: the pen's start in the block's orthographic units, its scale and colour.
struct TextLine {
    float x;
    float y;
    float scale;
    const float* colour; // rgb
    std::string text;
};

// A block of text drawn in a viewport of its own under an orthographic box (depth 0 to 10).
struct TextBlock {
    int viewport[4] = {}; // x, y, width, height in pixels
    double box[4] = {};   // left, right, bottom, top
    std::vector<TextLine> lines;
};

extern const float WHITE[3];
extern const float YELLOW[3];

// The blocks for a window of width x height pixels and the referee's present state.
// `marks` (per player, may be null, each may be null) says who plays a player ("Computer",
// "Remote"); `note` is a last line of the panel (the network's state), none when empty.
TextBlock statusPanelBlock(const Referee& referee, int width, int height,
                           const char* const marks[2] = nullptr, const std::string& note = "");
// nextGameStartsItself: the computer plays both sides and racks the next game on its own.
TextBlock winnerBannerBlock(const Referee& referee, int width, int height,
                            bool nextGameStartsItself = false);
TextBlock aimingHelpBlock(int width, int height);
TextBlock placementHelpBlock(const Referee& referee, int width, int height);
TextBlock placementRejectedBlock(int width, int height);
// Draws the block's lines with the view's font, then hands the whole window back; without a font
// nothing is drawn.
void drawTextBlock(const SceneView& view, const TextBlock& block);

// Multiplies the overhead views' orthographic projection for a window of width x height pixels
// onto the current matrix: the box from -50 to 50 across and -28 to 28 up, its upper-left corner
// fixed, square pixels.
void setOverheadProjection(int width, int height);
// The point of the felt's plane (y = 0) that the window pixel (px, py), counted from the top
// left as GLUT counts the pointer, shows on a placement screen of width x height pixels (both
// positive).
Vec3 overheadPoint(int width, int height, int px, int py);
// The second half of the normal frame: the inset, the status panel, the banner once the game is
// over, and the aiming help.
void drawOverlays(const SceneView& view);
// The whole frame while the cue ball is in hand, with the refusal of the last spot when the view
// has one.
void drawPlacementScreen(const SceneView& view);
