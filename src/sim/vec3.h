// Vec3, the one vector type of the simulation, and the rotation of an orientation matrix.
#pragma once

#include <cmath>

struct Vec3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;

    Vec3() = default;
    constexpr Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}

    // Division is one reciprocal and three multiplications, everywhere.
    void operator/=(const double& s) {
        const double inv = 1.0 / s;
        x *= inv;
        y *= inv;
        z *= inv;
    }
    Vec3 operator*(const double& s) const { return Vec3(x * s, y * s, z * s); }
    Vec3 operator/(double s) const {
        const double inv = 1.0 / s;
        return Vec3(x * inv, y * inv, z * inv);
    }
    Vec3 operator+(const Vec3& b) const { return Vec3(x + b.x, y + b.y, z + b.z); }
    Vec3 operator-(const Vec3& b) const { return Vec3(x - b.x, y - b.y, z - b.z); }
    Vec3 operator-() const { return Vec3(-x, -y, -z); }

    double length() const { return std::sqrt(x * x + y * y + z * z); }
    Vec3 normalized() const {
        const double inv = 1.0 / length();
        return Vec3(x * inv, y * inv, z * inv);
    }
    double dot(const Vec3& b) const { return x * b.x + y * b.y + z * b.z; }
    bool operator==(const Vec3& b) const { return x == b.x && y == b.y && z == b.z; }
    bool operator!=(const Vec3& b) const { return !(*this == b); }
};

inline Vec3 operator*(const double& s, const Vec3& v) { return Vec3(s * v.x, s * v.y, s * v.z); }

// Degrees per radian exactly as the game has always used it for rotations.
constexpr double DEGREES_PER_RADIAN = 57.295779506;
// Radians per degree as the cue and the camera convert their angles.
constexpr double RADIANS_PER_DEGREE = 0.017453292522222223;

// Replaces the column-major matrix m by R * m, R being the rotation that glRotatef builds
// for |r| radians about r. The product is formed in single precision like the GL stack
// would; a zero r leaves m unchanged. Needs no GL context.
void rotateOrientation(float m[16], const Vec3& r);
// Sets the column-major matrix m to the identity.
void setIdentity(float m[16]);
