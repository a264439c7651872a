// The scene pass: camera, light, room, stencil-marked table, planar shadows, balls, cue, lamp.
#pragma once

#include "render/scene_object.h"
#include "sim/game.h"

class Camera;
class Cue;
class Light;
class Room;
class Table;
struct TextureFont;

// The render menu's switches, all on at start.
struct RenderToggles {
    bool lighting = true;
    bool shadows = true;
    bool texturing = true;
};

// The skins of the simulated objects: each ball's by rack row, and the felt's (0: none).
struct TableArt {
    unsigned int ballTextures[BALL_COUNT] = {};
    unsigned int feltTexture = 0;
};
// Reads the balls' and the felt's textures from Data/; a texture that cannot be read is said on
// the console and left 0.
TableArt loadTableArt();

// What a frame shows, handed over read-only by the game: the view's objects, the game whose
// state the scene and the overlays show, the overlays' font (null: no text) and the window's size.
struct SceneView {
    const Room* room;
    const Camera* camera;
    const Light* light;
    const Game* game;
    const TableArt* art;
    const Cue* cue;
    const TextureFont* font;
    int width;  // pixels
    int height; // pixels
    RenderToggles toggles;
    const bool* computerPlays = nullptr; // per player, player 1 first; null: people play both
    bool placementRefused = false;       // the ball in hand's last spot was refused
    int remoteSeat = -1;                 // the seat played at the other machine, -1 for none
    const char* networkNote = "";        // what the status panel says of the network
};

// Stencil values the table's first half writes on the two shadow-receiving planes.
constexpr int FELT_STENCIL = 2; // felt bed and pocket aprons, y = 0
constexpr int RAIL_STENCIL = 1; // cushion tops and wooden rail tops, y = 1

// Draws the 3D scene once for the view that passFlags names (PASS_MAIN_VIEW, PASS_INSET_VIEW or
// PASS_PLACEMENT_VIEW). The caller sets the viewport and the projection.
void drawScene(const SceneView& view, int passFlags);
