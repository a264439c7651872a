// The program-wide objects, in the order start-up creates them.
#include "app/objects.h"

Room* room = nullptr;
Camera* camera = nullptr;
Light* light = nullptr;
Ball* balls[BALL_COUNT] = {};
Table* table = nullptr;
Cue* cue = nullptr;
TextureFont* font = nullptr;
Referee referee;
ConsoleContacts contactLines;
bool computerPlays[2] = {false, false};

int windowWidth = 0;
int windowHeight = 0;

SceneView sceneView() {
    return {room,     camera, light,       balls,        table,        cue,
            &referee, font,   windowWidth, windowHeight, computerPlays};
}
