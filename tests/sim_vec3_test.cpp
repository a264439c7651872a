// Vector arithmetic, and the turning of orientation matrices by rotation vectors checked against
// literal matrices and against what glRotatef and glMultMatrixf give on a real GL stack.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "sim/vec3.h"

TEST(Vec3, LengthDirectionDotAndArithmetic) {
    EXPECT_EQ(Vec3(3, 0, 4).length(), 5.0);
    const Vec3 n = Vec3(3, 0, 4).normalized();
    EXPECT_LT(std::fabs(n.x - 0.6) + std::fabs(n.y) + std::fabs(n.z - 0.8), 1e-15);
    EXPECT_EQ(Vec3(1, 2, 0).dot(Vec3(3, 4, 0)), 11.0); // the y*y term takes part
    Vec3 v = -(Vec3(1, 2, 3) + 2.0 * Vec3(1, 1, 1) - Vec3(0, 0, 1) * 3.0) / 2.0;
    v /= 0.5;
    EXPECT_TRUE(v.x == -3 && v.y == -4 && v.z == -2) << v.x << " " << v.y << " " << v.z;
}

// pi/2 radians about z carry x onto y; no turn, or one too small for single precision, changes
// nothing.
TEST(RotateOrientation, QuarterTurnAboutZ) {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float quarter[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (const Vec3& r : {Vec3(0, 0, 1.5707963267948966), Vec3(), Vec3(1e-300, 0, 0)}) {
        rotateOrientation(m, r);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], quarter[i], 1e-6f) << "element " << i;
    }
}

TEST(RotateOrientation, EqualsGlRotateTimesTheMatrix) {
    const float m0[16] = {0.9f,  0.1f, -0.3f, 0, 0.2f, 1.1f, 0.4f, 0,
                          -0.5f, 0.3f, 0.8f,  0, 3,    -2,   5,    1};
    for (const Vec3& r :
         {Vec3(0.3, -1.2, 2.0), Vec3(0, 7.5, 0), Vec3(-4, 0, 0.001), Vec3(25.1, 0, -13.7)}) {
        float ours[16], gl[16];
        std::copy(m0, m0 + 16, ours);
        rotateOrientation(ours, r);
        glLoadIdentity();
        glRotatef(float(r.length() * DEGREES_PER_RADIAN), float(r.x), float(r.y), float(r.z));
        glMultMatrixf(m0);
        glGetFloatv(GL_MODELVIEW_MATRIX, gl);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(ours[i], gl[i], 1e-5f) << "element " << i;
    }
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}
