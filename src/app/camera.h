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

extern Camera* camera;
