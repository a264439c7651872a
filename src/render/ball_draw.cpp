// Ball drawing: the shared mesh at the ball's position, turned by its rolling, in its own skin.
#include <GL/gl.h>

#include "assets/ball_model.h"
#include "render/material.h"
#include "render/object_draw.h"
#include "render/scene_object.h"
#include "sim/ball.h"

namespace {
constexpr float WHITE[4] = {1.0f, 1.0f, 1.0f, 1.0f};
} // namespace

void drawBall(const Ball& ball, const RackEntry& look, unsigned int texture, bool lighting,
              bool texturing, int passFlags) {
    if (ball.pocketed) return; // no ball, no shadow
    // White under the texture lets the texture's own colours through.
    if (lighting)
        enableLitMaterial(texturing ? WHITE : look.diffuse, look.specular, look.shininess);
    if (texturing) enableTexture(texture, lighting);
    glColor4fv((passFlags & PASS_SHADOW) ? SHADOW_COLOUR : look.diffuse);
    glPushMatrix();
    const Vec3& p = ball.position;
    glTranslatef(float(p.x), float(p.y), float(p.z));
    // The turn rolled since the last fold: its length in degrees about the vector itself.
    const Vec3& r = ball.rotation;
    glRotatef(float(r.length() * DEGREES_PER_RADIAN), float(r.x), float(r.y), float(r.z));
    glMultMatrixf(ball.orientation);
    glCallList(ballDisplayList);
    glPopMatrix();
    disableTexture();
    glDisable(GL_LIGHTING);
}
