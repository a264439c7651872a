// The scene pass: camera, light, room, stencil-marked table, planar shadows, balls, cue, lamp.
#pragma once

#include "sim/ball.h"

class Camera;
class Cue;
class Light;
class Referee;
class Room;
class Table;
struct TextureFont;

// What a frame shows, handed over by the game: its objects, the referee whose state the
// overlays show, the overlays' font (null: no text) and the window's size.
struct SceneView {
    Room* room;
    const Camera* camera;
    const Light* light;
    Ball* const* balls; // BALL_COUNT, rack-row order
    Table* table;
    Cue* cue;
    Referee* referee; // the placement screen clears its refusal once shown
    const TextureFont* font;
    int width;  // pixels
    int height; // pixels
    const bool* computerPlays = nullptr; // per player, player 1 first; null: people play both
};

// Stencil values the table's first half writes on the two shadow-receiving planes.
constexpr int FELT_STENCIL = 2; // felt bed and pocket aprons, y = 0
constexpr int RAIL_STENCIL = 1; // cushion tops and wooden rail tops, y = 1

extern const float feltPlane[4]; // (0, 1, 0, 0): y = 0
extern const float railPlane[4]; // (0, 1, 0, -1): y = 1
// Column-major projections from the light onto each plane, made once at start-up.
extern float feltShadowMatrix[16];
extern float railShadowMatrix[16];

// Render toggles flipped by the menu; all start true. Only drawScene reads them.
extern bool lightingEnabled;
extern bool shadowsEnabled;
extern bool texturingEnabled;

// Fills out with the matrix that maps a point X to dot(plane, light) X - light (plane . X):
// the point where the ray from the light through X meets the plane.
void shadowMatrix(float out[16], const float light[4], const float plane[4]);

// Draws the 3D scene once for the view that passFlags names (PASS_MAIN_VIEW, PASS_INSET_VIEW or
// PASS_PLACEMENT_VIEW). The caller sets the viewport and the projection.
void drawScene(const SceneView& view, int passFlags);

// The drawing operations of the simulated objects on GL: balls with the shared mesh, the table,
// textures from BMP files.
DrawingOperations& glDrawingOperations();
