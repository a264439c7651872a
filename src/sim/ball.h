// Ball: one of the sixteen pool balls, or a short-lived probe standing for a corner or pocket.
#pragma once

#include "sim/scene_object.h"

// One row of the rack: number, radius, position xyz, diffuse rgba, specular rgba, shininess.
struct RackEntry {
    float number;
    float radius;
    float position[3];
    float diffuse[4];
    float specular[4];
    float shininess;
};

constexpr int BALL_COUNT = 16;
extern const RackEntry rack[BALL_COUNT];

class Ball final : public SceneObject {
public:
    int number = 0;       // 0 cue ball, 1..15 object balls
    double radius = 1.0;  // world units
    bool pocketed = false;

    Ball(float number, float radius, const float* position, const float* diffuse,
         const float* specular, const float* shininess);
    // A probe: no number, material, orientation or texture; never drawn.
    Ball(float radius, float x, float y, float z);

    void reset(const float* position);
    bool overlaps(const Ball& other) const;

    double timeToHit(const Ball& other) const;
    void collideWith(Ball& other);
    void advance(double dt);
    void foldRotation();

    void draw(bool lighting, bool shadows, bool texturing, int passFlags) override;
};

// The balls in rack-row order; balls[0] is the cue ball. The order decides ties in the simulation.
extern Ball* balls[BALL_COUNT];
