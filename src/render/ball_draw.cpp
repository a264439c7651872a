// Ball drawing: the shared mesh at the ball's position, turned by its rolling, in its own skin.
#include <GL/gl.h>

#include "assets/ball_model.h"
#include "render/material.h"
#include "sim/ball.h"

namespace {
constexpr float WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
} // namespace

void Ball::draw(bool lighting, bool, bool texturing, int passFlags) {
    if (pocketed) return; // no ball, no shadow
    // White under the texture lets the texture's own colours through.
    if (lighting) enableLitMaterial(texturing ? WHITE : diffuse, specular, shininess);
    if (texturing) enableTexture(textureId, lighting);
    glColor4fv((passFlags & PASS_SHADOW) ? SHADOW_COLOUR : diffuse);
    glPushMatrix();
    glTranslatef(float(position.x), float(position.y), float(position.z));
    // The turn rolled since the last fold: its length in degrees about the vector itself.
    glRotatef(float(rotation.length() * DEGREES_PER_RADIAN), float(rotation.x),
              float(rotation.y), float(rotation.z));
    glMultMatrixf(orientation);
    glCallList(ballDisplayList);
    glPopMatrix();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
}
