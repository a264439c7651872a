// The program-wide objects, in the order start-up creates them.
#include "app/objects.h"

#include "app/network.h"
#include "app/placement.h"

Game game;
Room* room = nullptr;
Camera* camera = nullptr;
Light* light = nullptr;
Cue* cue = nullptr;
TextureFont* font = nullptr;
TableArt tableArt;
RenderToggles toggles;
ConsoleContacts contactLines;
bool computerPlays[2] = {false, false};

int windowWidth = 0;
int windowHeight = 0;

SceneView sceneView() {
    return {room,          camera,
            light,         &game,
            &tableArt,     cue,
            font,          windowWidth,
            windowHeight,  toggles,
            computerPlays, placementRefused(),
            remoteSeat(),  networkNote().c_str()};
}
