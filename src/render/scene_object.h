// SceneObject: a drawn object of the scene with its material and texture, and the passes.
#pragma once

#include "sim/vec3.h"

// Which view and sub-pass a draw belongs to (bit mask).
constexpr int PASS_MAIN_VIEW = 1;
constexpr int PASS_INSET_VIEW = 2;
constexpr int PASS_STENCIL_MARK = 4;
constexpr int PASS_SHADOW = 8;
constexpr int PASS_PLACEMENT_VIEW = 16;

class SceneObject {
public:
    Vec3 position; // world units
    float diffuse[4] = {};
    float specular[4] = {};
    float shininess = 0.0f;
    unsigned int textureId = 0; // GL texture name, 0 until loadTexture succeeds
    char textureFile[64] = {};  // BMP path, empty when the object has no texture

    SceneObject() = default;
    SceneObject(const float* position, const float* diffuse, const float* specular,
                const float* shininess);

    virtual void draw(bool lighting, bool shadows, bool texturing, int passFlags) const = 0;
    // Reads textureFile into a mipmapped texture; prints "Failed to read the bitmap file" and
    // keeps textureId 0 when it cannot.
    void loadTexture();

protected:
    // Objects are never deleted through a base pointer.
    ~SceneObject() = default;
};
