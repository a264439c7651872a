// The camera: the orbit's eye, its degenerate distances and elevations, the overhead view.
#include <GL/gl.h>
#include <gtest/gtest.h>

#include <cmath>

#include "app/camera.h"
#include "sim/scene_object.h"

namespace {
Camera startCamera() { return Camera(0.0, 1.0, 22.0, 80.0, 0.0, 22.0, 0.0, 1.0, 0.0); }

Vec3 cross(const Vec3& a, const Vec3& b) {
    return Vec3(a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x);
}

// The modelview matrix that look leaves, from the identity.
std::array<double, 16> viewMatrix(const Camera& camera, int passFlags) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    camera.look(passFlags);
    std::array<double, 16> m{};
    glGetDoublev(GL_MODELVIEW_MATRIX, m.data());
    return m;
}

// A usable view: finite, and its rotation part orthonormal (determinant 1).
void expectProperView(const std::array<double, 16>& m) {
    for (double v : m) ASSERT_TRUE(std::isfinite(v));
    const double det = m[0] * (m[5] * m[10] - m[9] * m[6]) - m[4] * (m[1] * m[10] - m[9] * m[2]) +
                       m[8] * (m[1] * m[6] - m[5] * m[2]);
    EXPECT_NEAR(det, 1.0, 1e-4);
}

TEST(Camera, StartViewLooksAtTheCueBallFromBehindAndAbove) {
    const LookAt v = startCamera().orbitView();
    EXPECT_NEAR(v.eye.x, 0.0, 1e-12);
    EXPECT_NEAR(v.eye.y, 1.0 + 80.0 * std::sin(22.0 * RADIANS_PER_DEGREE), 1e-9);
    EXPECT_NEAR(v.eye.y, 30.97, 0.005);
    EXPECT_NEAR(v.eye.z, 96.17, 0.005);
    EXPECT_EQ(v.centre.z, 22.0);
    EXPECT_EQ(v.up.y, 1.0);
}

TEST(Camera, AzimuthNinetyPutsTheEyeOnThePlusXSide) {
    Camera camera = startCamera();
    camera.addOrbit(0.0, 90.0, 0.0);
    const LookAt v = camera.orbitView();
    EXPECT_NEAR(v.eye.x, 80.0 * std::cos(22.0 * RADIANS_PER_DEGREE), 1e-6);
    EXPECT_NEAR(v.eye.z, 22.0, 1e-6);
}

TEST(Camera, NegativeDistancePutsTheEyeOnTheOtherSideLookingAtTheTarget) {
    Camera camera = startCamera();
    camera.addOrbit(-100.0, 0.0, 0.0); // distance -20
    const LookAt v = camera.orbitView();
    EXPECT_LT(v.eye.z, 22.0);
    EXPECT_LT(v.eye.y, 1.0);
    EXPECT_EQ(v.centre.z, 22.0);
    expectProperView(viewMatrix(camera, PASS_MAIN_VIEW));
}

TEST(Camera, ZeroDistanceLooksTheWayATinyDistanceWould) {
    Camera camera = startCamera();
    camera.addOrbit(-80.0, 0.0, 0.0);
    ASSERT_EQ(camera.distance, 0.0);
    const auto atZero = viewMatrix(camera, PASS_MAIN_VIEW);
    expectProperView(atZero);
    camera.distance = 1e-6;
    const auto atTiny = viewMatrix(camera, PASS_MAIN_VIEW);
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(atZero[i], atTiny[i], 1e-4) << i;
}

TEST(Camera, StraightUpOrDownKeepsTheViewOfNearbyElevations) {
    for (double elevation : {90.0, -90.0}) {
        Camera camera = startCamera();
        camera.azimuth = 30.0;
        camera.elevation = elevation;
        const auto straight = viewMatrix(camera, PASS_MAIN_VIEW);
        expectProperView(straight);
        camera.elevation = elevation - std::copysign(1e-4, elevation);
        const auto nearby = viewMatrix(camera, PASS_MAIN_VIEW);
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(straight[i], nearby[i], 1e-3) << elevation;
        // At distance 0 too.
        camera.elevation = elevation;
        camera.distance = 0.0;
        expectProperView(viewMatrix(camera, PASS_MAIN_VIEW));
    }
}

TEST(Camera, PastNinetyDegreesTheViewTurnsOver) {
    Camera camera = startCamera();
    camera.elevation = 100.0;
    const LookAt v = camera.orbitView();
    EXPECT_EQ(v.up.y, 1.0); // the given up is kept: the picture is upside down
    const Vec3 forward = v.centre - v.eye;
    EXPECT_GT(cross(forward, v.up).length(), 1.0);
    expectProperView(viewMatrix(camera, PASS_MAIN_VIEW));
}

TEST(Camera, OverheadViewIgnoresEveryField) {
    Camera camera = startCamera();
    const auto first = viewMatrix(camera, PASS_INSET_VIEW);
    camera.setTarget(7.0, -3.0, 11.0);
    camera.setOrbit(0.0, 45.0, 90.0, 1.0, 0.0, 0.0);
    EXPECT_EQ(viewMatrix(camera, PASS_INSET_VIEW), first);
    EXPECT_EQ(viewMatrix(camera, PASS_PLACEMENT_VIEW), first);
    // Eye at (0, 10, 0) looking down with the screen's up along -x.
    EXPECT_NEAR(first[14], -10.0, 1e-6); // the origin lies 10 in front of the eye
    EXPECT_NEAR(first[4], 0.0, 1e-6);    // world +y maps to eye depth only
    EXPECT_NEAR(first[1], -1.0, 1e-6);   // world +x maps to the screen's down
    EXPECT_NEAR(first[8], -1.0, 1e-6);   // world +z maps to the screen's left
}
} // namespace
