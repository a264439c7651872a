// Room: four brick walls and a crimson floor around the table, drawn in the main view only.
#pragma once

#include "render/scene_object.h"

// The room's height: the table's legs stand on the floor and the lamp's cord hangs from the
// walls' tops.
constexpr float ROOM_FLOOR_Y = -50.0f;    // world units
constexpr float ROOM_WALL_TOP_Y = 100.0f; // world units

class Room final : public SceneObject {
public:
    Room();
    void draw(bool lighting, bool shadows, bool texturing, int passFlags) const override;
};
