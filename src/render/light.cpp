// Light: the spot light's fixed parameters, its per-frame position and the visible lamp.
#include "render/light.h"

#include <GL/freeglut.h>

#include "render/gl_baseline.h"
#include "render/room.h"
#include "render/scene_object.h"

namespace {
constexpr float SPOT_CUTOFF = 60.0f;  // degrees from the straight-down axis
constexpr float SPOT_EXPONENT = 7.0f; // how fast the pool of light fades towards its rim
constexpr float GLOBAL_AMBIENT[4] = {0.65f, 0.65f, 0.65f, 1.0f};
} // namespace

Light::Light(GLenum lightId_, const float* colour_, const float* lightPosition_,
             const float* spotDirection_, float spotCutoff_)
    : lightId(lightId_), spotCutoff(spotCutoff_) {
    for (int i = 0; i < 4; ++i) colour[i] = colour_[i];
    for (int i = 0; i < 4; ++i) lightPosition[i] = lightPosition_[i];
    for (int i = 0; i < 3; ++i) spotDirection[i] = spotDirection_[i];
    shadowMatrix(feltShadow, lightPosition, FELT_PLANE);
    shadowMatrix(railShadow, lightPosition, RAIL_PLANE);
}

const float FELT_PLANE[4] = {0.0f, 1.0f, 0.0f, 0.0f};
const float RAIL_PLANE[4] = {0.0f, 1.0f, 0.0f, -1.0f};

void shadowMatrix(float out[16], const float light[4], const float plane[4]) {
    float dot = 0.0f;
    for (int i = 0; i < 4; ++i) dot += plane[i] * light[i];
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) out[4 * j + i] = (i == j ? dot : 0.0f) - light[i] * plane[j];
    }
}

void setLightModel() {
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, GLOBAL_AMBIENT);
    glLightModeli(GL_LIGHT_MODEL_LOCAL_VIEWER, 1);
}

void Light::enable() const {
    glLightfv(lightId, GL_DIFFUSE, colour);
    glLightfv(lightId, GL_SPECULAR, colour);
    glLightf(lightId, GL_SPOT_CUTOFF, SPOT_CUTOFF);
    glLightf(lightId, GL_SPOT_EXPONENT, SPOT_EXPONENT);
    glEnable(lightId);
}

void Light::applyPosition(int) const {
    glLightfv(lightId, GL_POSITION, lightPosition);
    glLightfv(lightId, GL_SPOT_DIRECTION, spotDirection);
}

void Light::drawLamp(bool, bool, bool, int passFlags) const {
    if (!(passFlags & PASS_MAIN_VIEW)) return;
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glTranslatef(lightPosition[0], lightPosition[1], lightPosition[2]);
    glColor3f(1.0f, 1.0f, 0.0f);
    glutSolidSphere(1.0, 10, 10);        // bulb
    glRotatef(270.0f, 1.0f, 0.0f, 0.0f); // local +z now points up
    glColor3f(0.5f, 0.5f, 0.5f);
    glutSolidCone(5.0, 7.0, 20, 20); // shade, its rim level with the bulb's centre
    glLineWidth(3.0f);
    glBegin(GL_LINES); // cord, from the shade's top to the wall tops
    glVertex3f(0.0f, 0.0f, 6.0f);
    glVertex3f(0.0f, 0.0f, ROOM_WALL_TOP_Y - lightPosition[1]);
    glEnd();
    glLineWidth(BASELINE_LINE_WIDTH);
    glPopMatrix();
    glEnable(GL_CULL_FACE);
}
