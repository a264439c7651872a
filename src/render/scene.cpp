// The scene pass: one drawing of the 3D scene in a fixed order, with planar stencil shadows.
#include "render/scene.h"

#include <GL/gl.h>

#include "assets/texture.h"
#include "render/camera.h"
#include "render/cue.h"
#include "render/light.h"
#include "render/object_draw.h"
#include "render/room.h"
#include "sim/referee.h"
#include "sim/table.h"

const float feltPlane[4] = {0.0f, 1.0f, 0.0f, 0.0f};
const float railPlane[4] = {0.0f, 1.0f, 0.0f, -1.0f};
float feltShadowMatrix[16];
float railShadowMatrix[16];

bool lightingEnabled = true;
bool shadowsEnabled = true;
bool texturingEnabled = true;

void shadowMatrix(float out[16], const float light[4], const float plane[4]) {
    float dot = 0.0f;
    for (int i = 0; i < 4; ++i) dot += plane[i] * light[i];
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) out[4 * j + i] = (i == j ? dot : 0.0f) - light[i] * plane[j];
    }
}

namespace {
class GlDrawing final : public DrawingOperations {
public:
    void drawBall(Ball& ball, bool lighting, bool, bool texturing, int passFlags) override {
        ::drawBall(ball, lighting, texturing, passFlags);
    }
    void drawTable(Table& table, bool lighting, bool, bool texturing, int passFlags) override {
        ::drawTable(table, lighting, texturing, passFlags);
    }
    void loadTexture(SceneObject& object) override {
        object.textureId = ::loadTexture(object.textureFile);
    }
};

// Each silhouette fragment passes only where the stencil still holds the plane's mark and then
// raises it, so a shadow stays on its own plane and darkens every pixel exactly once.
void beginShadowPlane(int stencilMark, const float* matrix) {
    glStencilFunc(GL_EQUAL, stencilMark, 0xffff);
    glStencilOp(GL_KEEP, GL_KEEP, GL_INCR);
    glPushMatrix();
    glMultMatrixf(matrix);
}

void drawShadows(const SceneView& view, bool cueShown, int passFlags) {
    const int flags = passFlags | PASS_SHADOW;
    // Without depth testing the silhouettes cannot fight with the surface they lie on, and
    // the depth buffer keeps the table's depths for what is drawn next.
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_STENCIL_TEST);
    beginShadowPlane(FELT_STENCIL, feltShadowMatrix);
    for (int i = 0; i < BALL_COUNT; ++i) view.balls[i]->draw(false, true, false, flags);
    if (cueShown) view.cue->draw(false, true, false, flags);
    glPopMatrix();
    // Only the cue is long enough to throw a shadow onto the rails.
    beginShadowPlane(RAIL_STENCIL, railShadowMatrix);
    if (cueShown) view.cue->draw(false, true, false, flags);
    glPopMatrix();
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
} // namespace

void drawScene(const SceneView& view, int passFlags) {
    const bool l = lightingEnabled, s = shadowsEnabled, t = texturingEnabled;
    // Once the game is over the cue is put away.
    const bool cueShown = !view.referee->isGameOver();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    view.camera->look(passFlags);
    view.light->applyPosition(passFlags);
    view.room->draw(l, s, t, passFlags);
    view.table->draw(l, s, t, passFlags | PASS_STENCIL_MARK);
    if (s && !(passFlags & PASS_INSET_VIEW)) drawShadows(view, cueShown, passFlags);
    view.table->draw(l, s, t, passFlags);
    for (int i = 0; i < BALL_COUNT; ++i) view.balls[i]->draw(l, s, t, passFlags);
    if (cueShown) view.cue->draw(l, s, t, passFlags);
    view.light->drawLamp(l, s, t, passFlags);
}

DrawingOperations& glDrawingOperations() {
    static GlDrawing operations;
    return operations;
}
