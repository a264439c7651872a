// Cue: its aiming state, and the stick drawn as two overlapping cones set back by the pull.
#include "render/cue.h"

#include <GL/freeglut.h>

#include "render/material.h"

namespace {
constexpr double BUTT_RADIUS = 0.5; // world units
constexpr double TIP_RADIUS = 0.15; // world units
constexpr int CONE_SLICES = 10;
constexpr int CONE_STACKS = 10;
} // namespace

Cue::Cue(const float* position_, double tipGap_, double cueLength_, double angle_,
         double elevation_, const float* diffuse_, const float* specular_, const float* shininess_)
    : SceneObject(position_, diffuse_, specular_, shininess_), tipGap(tipGap_),
      cueLength(cueLength_), angle(angle_), elevation(elevation_) {}

void Cue::resetAim(double angle_, double elevation_) {
    angle = angle_;
    elevation = elevation_;
    pull = 0.0;
    power = 0.0;
    visible = true;
}

void Cue::addAngles(double dAngle, double dElevation) {
    angle += dAngle;
    elevation += dElevation;
}

void Cue::setPosition(double x, double y, double z) { position = Vec3(x, y, z); }

void Cue::draw(bool lighting, bool, bool, int passFlags) const {
    if (!visible || (passFlags & PASS_PLACEMENT_VIEW)) return;
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    if (passFlags & PASS_SHADOW) {
        glColor4fv(SHADOW_COLOUR);
    } else if (lighting) {
        enableLitMaterial(diffuse, specular, shininess);
    } else {
        glColor4fv(diffuse);
    }
    // Flattened into a shadow, half of the cones' faces turn away from the eye: draw both sides.
    glDisable(GL_CULL_FACE);
    glPushMatrix();
    glTranslatef(float(position.x), float(position.y), float(position.z));
    glRotatef(float(angle), 0.0f, 1.0f, 0.0f);
    glRotatef(float(-elevation), 1.0f, 0.0f, 0.0f);
    // Local +z now runs from the tip, set back from the ball by the pull, towards the butt.
    glTranslatef(0.0f, 0.0f, float(pull * CUE_PULL_SCALE + tipGap));
    glPushMatrix();
    glRotatef(180.0f, 1.0f, 0.0f, 0.0f);
    glTranslatef(0.0f, 0.0f, float(-cueLength));
    glutSolidCone(BUTT_RADIUS, cueLength, CONE_SLICES, CONE_STACKS); // base at the butt
    glPopMatrix();
    glutSolidCone(TIP_RADIUS, cueLength, CONE_SLICES, CONE_STACKS); // base at the tip
    glPopMatrix();
    glEnable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
}
