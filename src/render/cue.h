// Cue: the stick's aim, tilt and draw-back, and its drawing as two overlapping cones.
#pragma once

#include "render/scene_object.h"
#include "sim/strike.h"

class Cue final : public SceneObject {
public:
    double tipGap;           // world units from the cue ball's centre to the tip at rest
    double cueLength;        // world units
    double angle;            // degrees about +y; the shot travels along (-sin, 0, -cos)
    double elevation;        // degrees of tilt, drawing only
    double pull = 0.0;       // units of draw-back: grows while charging, shrinks in the stroke
    double power = 0.0;      // units/s given to the cue ball, fixed at the release
    double strokeStep = 0.0; // units of pull taken off per stroke frame
    bool visible = true;

    // position is the cue ball's centre (three floats); mass 1.
    Cue(const float* position, double tipGap, double cueLength, double angle, double elevation,
        const float* diffuse, const float* specular, const float* shininess);

    // Both angles set; pull and power 0; visible again. strokeStep keeps its value.
    void resetAim(double angle, double elevation);
    void addAngles(double dAngle, double dElevation);
    void setPosition(double x, double y, double z);

    // Not drawn while hidden or on the placement screen (the scene leaves it out once the game
    // is over).
    void draw(bool lighting, bool shadows, bool texturing, int passFlags) const override;
};

// A full pull (MAX_SHOT_POWER units) sets the tip this far back.
constexpr double CUE_FULL_PULL_TRAVEL = 40.0 / 3.0;                      // world units
constexpr double CUE_PULL_SCALE = CUE_FULL_PULL_TRAVEL / MAX_SHOT_POWER; // world units per unit

// The cue at start-up, and after F10: aimed up the table, tilted 10 degrees.
constexpr double START_CUE_ANGLE = 0.0;      // degrees
constexpr double START_CUE_ELEVATION = 10.0; // degrees
