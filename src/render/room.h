// Room: four brick walls and a crimson floor around the table, drawn in the main view only.
#pragma once

#include "render/scene_object.h"

class Room final : public SceneObject {
public:
    Room();
    void draw(bool lighting, bool shadows, bool texturing, int passFlags) const override;
};

