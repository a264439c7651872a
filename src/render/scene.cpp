// The scene pass: one drawing of the 3D scene in a fixed order, with planar stencil shadows.
#include "render/scene.h"

#include <GL/gl.h>

#include <cstdio>

#include "assets/texture.h"
#include "render/camera.h"
#include "render/cue.h"
#include "render/light.h"
#include "render/object_draw.h"
#include "render/room.h"

TableArt loadTableArt() {
    TableArt art;
    for (int row = 0; row < BALL_COUNT; ++row) {
        char file[32];
        std::snprintf(file, sizeof file, "Data/ball%d.bmp", int(rack[row].number));
        art.ballTextures[row] = loadTexture(file);
    }
    art.feltTexture = loadTexture("Data/tablefelt.bmp");
    return art;
}

namespace {
void drawBalls(const SceneView& view, bool lighting, bool texturing, int passFlags) {
    for (int i = 0; i < BALL_COUNT; ++i)
        drawBall(view.game->balls[i], rack[i], view.art->ballTextures[i], lighting, texturing,
                 passFlags);
}

void drawTableOf(const SceneView& view, int passFlags) {
    const RenderToggles& t = view.toggles;
    drawTable(view.game->table, view.art->feltTexture, t.lighting, t.texturing, passFlags);
}

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
    beginShadowPlane(FELT_STENCIL, view.light->feltShadow);
    drawBalls(view, false, false, flags);
    if (cueShown) view.cue->draw(false, true, false, flags);
    glPopMatrix();
    // Only the cue is long enough to throw a shadow onto the rails.
    beginShadowPlane(RAIL_STENCIL, view.light->railShadow);
    if (cueShown) view.cue->draw(false, true, false, flags);
    glPopMatrix();
    glDisable(GL_STENCIL_TEST);
    glDisable(GL_BLEND);
    glEnable(GL_DEPTH_TEST);
}
} // namespace

void drawScene(const SceneView& view, int passFlags) {
    const bool l = view.toggles.lighting, s = view.toggles.shadows, t = view.toggles.texturing;
    // Once the game is over the cue is put away.
    const bool cueShown = !view.game->referee.isGameOver();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    view.camera->look(passFlags);
    view.light->applyPosition(passFlags);
    view.room->draw(l, s, t, passFlags);
    drawTableOf(view, passFlags | PASS_STENCIL_MARK);
    if (s && !(passFlags & PASS_INSET_VIEW)) drawShadows(view, cueShown, passFlags);
    drawTableOf(view, passFlags);
    drawBalls(view, l, t, passFlags);
    if (cueShown) view.cue->draw(l, s, t, passFlags);
    view.light->drawLamp(l, s, t, passFlags);
}
