// The program-wide objects: created by start-up in their fixed order and never freed.
#pragma once

#include "render/scene.h"
#include "sim/contact.h"
#include "sim/ball.h"
#include "sim/referee.h"

class Camera;
class Cue;
class Light;
class Room;
class Table;
struct TextureFont;

extern Room* room;
extern Camera* camera;
extern Light* light;
extern Ball* balls[BALL_COUNT]; // rack-row order; balls[0] is the cue ball
extern Table* table;
extern Cue* cue;
extern TextureFont* font; // null when Data/default.txf could not be read: the screens show no text
extern Referee referee;   // constructed before start-up, as the one game's record
extern ConsoleContacts contactLines; // the console's line per contact
extern bool computerPlays[2];        // per player, player 1 first: the computer plays them

// Window size in pixels, kept by reshape.
extern int windowWidth;
extern int windowHeight;

// The frame the window shows now.
SceneView sceneView();
