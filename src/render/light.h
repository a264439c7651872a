// Light: the one spot light above the table, and the lamp (bulb, shade, cord) that shows it.
#pragma once

#include <GL/gl.h>

class Light {
public:
    GLenum lightId;       // which GL light this is
    float colour[4];      // diffuse and specular colour, RGBA
    float lightPosition[4]; // homogeneous world position, world units
    float spotDirection[3]; // unit vector
    float spotCutoff;     // degrees; recorded only, the cone is always 60 degrees

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

