// Camera: the orbit view about the target and the fixed overhead view.
#include "render/camera.h"

#include <GL/glu.h>

#include <cmath>

#include "render/scene_object.h"

Camera::Camera(double targetX_, double targetY_, double targetZ_, double distance_, double azimuth_,
               double elevation_, double upX_, double upY_, double upZ_)
    : targetX(targetX_), targetY(targetY_), targetZ(targetZ_), distance(distance_),
      azimuth(azimuth_), elevation(elevation_), upX(upX_), upY(upY_), upZ(upZ_) {}

namespace {
Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}
} // namespace

LookAt Camera::orbitView() const {
    const double az = azimuth * RADIANS_PER_DEGREE;
    const double el = elevation * RADIANS_PER_DEGREE;
    // Unit offset from the target towards the eye for a positive distance.
    const Vec3 offset(std::sin(az) * std::cos(el), std::sin(el), std::cos(az) * std::cos(el));
    const Vec3 target(targetX, targetY, targetZ);
    LookAt view{target + distance * offset, target, Vec3(upX, upY, upZ)};
    // Zoomed in all the way the eye sits on the target: keep looking the way a tiny positive
    // distance would rather than along no direction at all.
    if (distance == 0.0) view.centre = target - offset;
    // Looking straight along the up vector leaves the screen's up undefined: use the one the
    // view tends to as the elevation approaches +-90 degrees from the horizontal side.
    const Vec3 forward = view.centre - view.eye;
    const double along = cross(forward, view.up).length();
    if (along <= 1e-9 * forward.length() * view.up.length()) {
        view.up = Vec3(-std::sin(el) * std::sin(az), std::cos(el), -std::sin(el) * std::cos(az));
    }
    return view;
}

void Camera::look(int passFlags) const {
    if (!(passFlags & PASS_MAIN_VIEW)) {
        // Straight down on the table's centre; the screen's up is -x and its right -z.
        gluLookAt(0.0, 10.0, 0.0, 0.0, 0.0, 0.0, -1.0, 0.0, 0.0);
        return;
    }
    const LookAt v = orbitView();
    gluLookAt(v.eye.x, v.eye.y, v.eye.z, v.centre.x, v.centre.y, v.centre.z, v.up.x, v.up.y,
              v.up.z);
}

void Camera::setTarget(double x, double y, double z) {
    targetX = x;
    targetY = y;
    targetZ = z;
}

void Camera::setOrbit(double distance_, double azimuth_, double elevation_, double upX_,
                      double upY_, double upZ_) {
    distance = distance_;
    azimuth = azimuth_;
    elevation = elevation_;
    upX = upX_;
    upY = upY_;
    upZ = upZ_;
}

void Camera::addOrbit(double dDistance, double dAzimuth, double dElevation) {
    distance += dDistance;
    azimuth += dAzimuth;
    elevation += dElevation;
}
