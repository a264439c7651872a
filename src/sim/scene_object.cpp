// SceneObject constructors, the identity matrix, and the seam to whoever draws and textures.
#include "sim/scene_object.h"

#include <cstring>

void setIdentity(float m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}

SceneObject::SceneObject(double mass_, double x, double y, double z)
    : mass(mass_), position(x, y, z) {}

SceneObject::SceneObject(double mass_, const float* position_, const float* diffuse_,
                         const float* specular_, const float* shininess_)
    : mass(mass_), position(position_[0], position_[1], position_[2]) {
    setIdentity(orientation);
    std::memcpy(diffuse, diffuse_, sizeof diffuse);
    std::memcpy(specular, specular_, sizeof specular);
    shininess = *shininess_;
}

namespace {
DrawingOperations* drawingOperations = nullptr;
} // namespace

void installDrawingOperations(DrawingOperations* operations) { drawingOperations = operations; }
DrawingOperations* installedDrawingOperations() { return drawingOperations; }

void SceneObject::loadTexture() {
    if (drawingOperations) drawingOperations->loadTexture(*this);
}
