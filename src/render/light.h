// Light: the one spot light above the table, and the lamp (bulb, shade, cord) that shows it.
#pragma once

#include <GL/gl.h>

class Light {
public:
    GLenum lightId;         // which GL light this is
    float colour[4];        // diffuse and specular colour, RGBA
    float lightPosition[4]; // homogeneous world position, world units
    float spotDirection[3]; // unit vector
    float spotCutoff;       // degrees; recorded only, the cone is always 60 degrees
    // Column-major projections from the light onto the felt (y = 0) and the rail tops (y = 1),
    // where the balls and the cue cast their shadows.
    float feltShadow[16];
    float railShadow[16];

    Light(GLenum lightId, const float* colour, const float* lightPosition,
          const float* spotDirection, float spotCutoff);

    // Sets the fixed spot parameters and switches the light on for the whole run.
    void enable() const;
    // Re-specifies position and direction under the current view, so the light stays put
    // in the world while the camera moves.
    void applyPosition(int passFlags) const;
    // Bulb, shade and cord, in the main view only; lighting is off, so they show flat.
    void drawLamp(bool lighting, bool shadows, bool texturing, int passFlags) const;
};

// Global ambient and local viewer.
void setLightModel();

extern const float FELT_PLANE[4]; // (0, 1, 0, 0): y = 0
extern const float RAIL_PLANE[4]; // (0, 1, 0, -1): y = 1

// Fills out with the matrix that maps a point X to dot(plane, light) X - light (plane . X):
// the point where the ray from the light through X meets the plane.
void shadowMatrix(float out[16], const float light[4], const float plane[4]);
