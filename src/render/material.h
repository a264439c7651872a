// Front-face material and colour helpers shared by the drawn objects.
#pragma once

#include <GL/gl.h>

#include "render/gl_baseline.h"

// Ambient and diffuse from one colour, as every lit object of the scene uses them.
inline void setFrontAmbientDiffuse(const float* colour) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, colour);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
}

// Switches lighting on with a full front material.
inline void enableLitMaterial(const float* ambientDiffuse, const float* specular, float shininess) {
    glEnable(GL_LIGHTING);
    setFrontAmbientDiffuse(ambientDiffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, specular);
    glMaterialf(GL_FRONT, GL_SHININESS, shininess);
}

// Binds a texture; with lighting the texture is shaded (modulate), without it it shows as is.
inline void enableTexture(unsigned int textureId, bool lighting) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, textureId);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, lighting ? GL_MODULATE : GL_REPLACE);
}

// Ends a textured draw: an unlit one's environment would otherwise reach the next textured draw.
inline void disableTexture() {
    glDisable(GL_TEXTURE_2D);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, BASELINE_TEXTURE_ENV_MODE);
}

// Half-transparent black of every shadow silhouette.
constexpr float SHADOW_COLOUR[4] = {0.0f, 0.0f, 0.0f, 0.5f};
