// SceneObject's material and texture.
#include "render/scene_object.h"

#include <cstring>

#include "assets/texture.h"

SceneObject::SceneObject(const float* position_, const float* diffuse_, const float* specular_,
                         const float* shininess_)
    : position(position_[0], position_[1], position_[2]) {
    std::memcpy(diffuse, diffuse_, sizeof diffuse);
    std::memcpy(specular, specular_, sizeof specular);
    shininess = *shininess_;
}

void SceneObject::loadTexture() { textureId = ::loadTexture(textureFile); }
