// Vector arithmetic and the arithmetic rotation of orientation matrices.
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
    // 0.1 / 3 and 0.1 * (1/3) differ in the last bit: division must take the second path.
    const double third = 1.0 / 3.0;
    Vec3 v(0.1, 0.7, 1.3);
    v /= 3.0;
    EXPECT_EQ(v.x, 0.1 * third);
    EXPECT_EQ(v.y, 0.7 * third);
    EXPECT_EQ(v.z, 1.3 * third);
    const Vec3 w = Vec3(0.1, 0.7, 1.3) / 3.0;
    EXPECT_EQ(w.x, 0.1 * third);
    EXPECT_EQ(w.z, 1.3 * third);
}

namespace {
// R * m in double, with R as glRotatef defines it: a*a^T (1 - c) + c I + s [a]x.
void referenceRotate(const float m[16], const Vec3& r, double out[16]) {
    const double angle = r.length() * DEGREES_PER_RADIAN * 3.14159265358979323846 / 180.0;
    const Vec3 a = r.normalized();
    const double c = std::cos(angle), s = std::sin(angle), k = 1 - c;
    const double rot[3][3] = {{a.x * a.x * k + c, a.x * a.y * k - a.z * s, a.x * a.z * k + a.y * s},
                              {a.y * a.x * k + a.z * s, a.y * a.y * k + c, a.y * a.z * k - a.x * s},
                              {a.x * a.z * k - a.y * s, a.y * a.z * k + a.x * s, a.z * a.z * k + c}};
    for (int col = 0; col < 4; ++col) {
        for (int row = 0; row < 3; ++row) {
            out[col * 4 + row] = 0;
            for (int j = 0; j < 3; ++j) out[col * 4 + row] += rot[row][j] * m[col * 4 + j];
        }
        out[col * 4 + 3] = m[col * 4 + 3];
    }
}
} // namespace

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

TEST(RotateOrientation, MatchesTheGlRotateMatrixOnAGeneralMatrix) {
    // A non-orthogonal matrix with a translation shows any row/column mix-up.
    const float m0[16] = {0.9f, 0.1f, -0.3f, 0, 0.2f, 1.1f, 0.4f, 0, -0.5f, 0.3f, 0.8f, 0,
                          3, -2, 5, 1};
    const Vec3 rotations[] = {Vec3(0.3, -1.2, 2.0), Vec3(0, 7.5, 0), Vec3(-4, 0, 0.001),
                              Vec3(1e-3, 0, -2e-3)};
    for (const Vec3& r : rotations) {
        float m[16];
        std::copy(m0, m0 + 16, m);
        rotateOrientation(m, r);
        double expected[16];
        referenceRotate(m0, r, expected);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(m[i], expected[i], 2e-6) << "element " << i;
    }
}
