// Camera: an orbit about a target point, and the fixed overhead view of the table.
#pragma once

#include "sim/vec3.h"

// Eye, centre and up handed to the look-at transform.
struct LookAt {
    Vec3 eye;    // world units
    Vec3 centre; // world units
    Vec3 up;     // direction, not normalized
};

class Camera {
public:
    double targetX, targetY, targetZ; // world units: the point looked at
    double distance;  // world units from the target; negative puts the eye on the far side
    double azimuth;   // degrees about +y; 0 puts the eye on the +z side of the target
    double elevation; // degrees above the horizontal plane
    double upX, upY, upZ;

    Camera(double targetX, double targetY, double targetZ, double distance, double azimuth,
           double elevation, double upX, double upY, double upZ);

    // Multiplies the view onto the modelview matrix: the orbit view with PASS_MAIN_VIEW,
    // otherwise the fixed overhead view whatever the fields hold.
    void look(int passFlags) const;
    // The orbit view as look hands it to the look-at transform. A distance of 0 or an
    // elevation of exactly +-90 degrees still gives a well-defined view.
    LookAt orbitView() const;

    void setTarget(double x, double y, double z);
    void setOrbit(double distance, double azimuth, double elevation, double upX, double upY,
                  double upZ);
    void addOrbit(double dDistance, double dAzimuth, double dElevation);
};

// The view at start-up, and after F10: 80 units behind the cue ball, 22 degrees above it.
constexpr double START_DISTANCE = 80.0;  // world units
constexpr double START_AZIMUTH = 0.0;    // degrees
constexpr double START_ELEVATION = 22.0; // degrees
