// Rotation of an orientation matrix, formed arithmetically in single precision like glRotatef.
#include "sim/vec3.h"

void rotateOrientation(float m[16], const Vec3& r) {
    if (r.x == 0.0 && r.y == 0.0 && r.z == 0.0) return;
    // glRotatef receives floats: the angle in degrees and the axis.
    const float degrees = static_cast<float>(r.length() * DEGREES_PER_RADIAN);
    float x = static_cast<float>(r.x), y = static_cast<float>(r.y), z = static_cast<float>(r.z);
    const float axisLength = std::sqrt(x * x + y * y + z * z);
    if (axisLength == 0.0f) return; // the axis underflowed in single precision
    x /= axisLength;
    y /= axisLength;
    z /= axisLength;
    const double radians = degrees * (3.14159265358979323846 / 180.0);
    const float s = static_cast<float>(std::sin(radians));
    const float c = static_cast<float>(std::cos(radians));
    const float k = 1.0f - c;
    const float rot[3][3] = {{x * x * k + c, x * y * k - z * s, x * z * k + y * s},
                             {y * x * k + z * s, y * y * k + c, y * z * k - x * s},
                             {x * z * k - y * s, y * z * k + x * s, z * z * k + c}};
    // Column-major: m[col * 4 + row]. R leaves the fourth row and column alone.
    for (int col = 0; col < 4; ++col) {
        float* column = m + col * 4;
        const float a = column[0], b = column[1], d = column[2];
        for (int row = 0; row < 3; ++row)
            column[row] = rot[row][0] * a + rot[row][1] * b + rot[row][2] * d;
    }
}

void setIdentity(float m[16]) {
    for (int i = 0; i < 16; ++i) m[i] = (i % 5 == 0) ? 1.0f : 0.0f;
}
