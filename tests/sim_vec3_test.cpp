// Vector arithmetic and the arithmetic rotation of orientation matrices (sim_rotation_gl_test
// compares the rotation with the GL stack's own).
#include <gtest/gtest.h>

#include <cmath>

#include "sim/scene_object.h"
#include "sim/vec3.h"

TEST(Vec3, ArithmeticLengthAndDot) {
    const Vec3 v(3, 0, 4);
    EXPECT_EQ(v.length(), 5.0);
    const Vec3 n = v.normalized();
    EXPECT_DOUBLE_EQ(n.x, 0.6);
    EXPECT_DOUBLE_EQ(n.z, 0.8);
    // The y*y term takes part.
    EXPECT_EQ(Vec3(1, 2, 0).dot(Vec3(3, 4, 0)), 11.0);
    const Vec3 sum = Vec3(1, 2, 3) + 2.0 * Vec3(1, 1, 1) - Vec3(0, 0, 1) * 3.0;
    EXPECT_EQ(sum.x, 3.0);
    EXPECT_EQ(sum.y, 4.0);
    EXPECT_EQ(sum.z, 2.0);
}

TEST(Vec3, DivisionGoesThroughTheReciprocal) {
    // 2.1 / 3 and 2.1 * (1/3) differ in the last bit: division must take the second path.
    const double third = 1.0 / 3.0;
    ASSERT_NE(2.1 / 3.0, 2.1 * third);
    Vec3 v(2.1, 2.5, 4.9);
    v /= 3.0;
    EXPECT_EQ(v.x, 2.1 * third);
    EXPECT_EQ(v.y, 2.5 * third);
    EXPECT_EQ(v.z, 4.9 * third);
    const Vec3 w = Vec3(2.1, 2.5, 4.9) / 3.0;
    EXPECT_EQ(w.x, 2.1 * third);
    EXPECT_EQ(w.z, 4.9 * third);
    EXPECT_EQ(Vec3(4, 0, 3).normalized().x, 4 * (1 / 5.0));
}

TEST(RotateOrientation, QuarterTurnAboutZCarriesXOntoY) {
    float m[16];
    setIdentity(m);
    rotateOrientation(m, Vec3(0, 0, 3.14159265358979323846 / 2));
    const float expected[16] = {0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 1e-6f) << "element " << i;
}

TEST(RotateOrientation, ZeroVectorLeavesTheMatrixAlone) {
    float m[16];
    for (int i = 0; i < 16; ++i) m[i] = 0.25f * static_cast<float>(i) - 1.0f;
    float before[16];
    std::copy(m, m + 16, before);
    rotateOrientation(m, Vec3(0, 0, 0));
    for (int i = 0; i < 16; ++i) EXPECT_EQ(m[i], before[i]);
}
