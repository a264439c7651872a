// SceneObject: the state shared by everything that is drawn and, for the balls, simulated.
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
    double mass = 0.0;          // mass units; 1.0 for every object the game builds
    Vec3 position;              // world units
    Vec3 velocity;              // units/s
    Vec3 acceleration;          // units/s^2
    Vec3 rotation;              // rad, axis times angle not yet folded into orientation
    Vec3 angularVelocity;       // rad/s
    Vec3 angularAcceleration;   // rad/s^2
    float orientation[16] = {}; // column-major, all folded rotation
    float diffuse[4] = {};
    float specular[4] = {};
    float shininess = 0.0f;
    unsigned int textureId = 0; // GL texture name, 0 until loadTexture succeeds
    char textureFile[64] = {};  // BMP path, empty when the object has no texture

    SceneObject() = default;
    SceneObject(double mass, double x, double y, double z);
    SceneObject(double mass, const float* position, const float* diffuse, const float* specular,
                const float* shininess);

    virtual void draw(bool lighting, bool shadows, bool texturing, int passFlags) = 0;
    // Reads textureFile into a mipmapped texture; prints "Failed to read the bitmap file" and
    // keeps textureId 0 when it cannot.
    virtual void loadTexture();

protected:
    // Objects are never deleted through a base pointer.
    ~SceneObject() = default;
};

void setIdentity(float m[16]);

class Ball;
class Table;

// How the simulated objects are drawn and textured: the game's GL renderer, or the headless
// library's stand-in. Installed once at start-up; without one nothing is drawn or loaded.
class DrawingOperations {
public:
    virtual void drawBall(Ball& ball, bool lighting, bool shadows, bool texturing,
                          int passFlags) = 0;
    virtual void drawTable(Table& table, bool lighting, bool shadows, bool texturing,
                           int passFlags) = 0;
    virtual void loadTexture(SceneObject& object) = 0;

protected:
    ~DrawingOperations() = default;
};

void installDrawingOperations(DrawingOperations* operations);
DrawingOperations* installedDrawingOperations();
