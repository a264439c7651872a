// The program-wide objects: the one game, and the view objects created by start-up in their
// fixed order and never freed.
#pragma once

#include "render/scene.h"
#include "sim/contact.h"
#include "sim/game.h"

class Camera;
class Cue;
class Light;
class Room;
struct TextureFont;

extern Game game; // the balls, the table and the referee: everything a shot changes
extern Room* room;
extern Camera* camera;
extern Light* light;
extern Cue* cue;
extern TextureFont* font; // null when Data/default.txf could not be read: the screens show no text
extern TableArt tableArt; // the balls' and the felt's textures
extern RenderToggles toggles;        // the render menu's switches
extern ConsoleContacts contactLines; // the console's line per contact
extern bool computerPlays[2];        // per player, player 1 first: the computer plays them

// Window size in pixels, kept by reshape.
extern int windowWidth;
extern int windowHeight;

// The frame the window shows now.
SceneView sceneView();
