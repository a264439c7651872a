// SceneObject constructors and the identity matrix; drawing and textures live elsewhere.
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
