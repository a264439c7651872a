// The table's feature list and the contacts of a ball with cushions, corners and pockets.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sim/ball.h"
#include "sim/referee.h"
#include "sim/table.h"

namespace {
Vec3 at(const TableFeature& f, int offset) { return Vec3(f.d[offset], f.d[offset + 1], f.d[offset + 2]); }

bool same(const Vec3& a, const Vec3& b) { return (a - b).length() < 1e-12; }

Vec3 mirrored(const Vec3& v, double sx, double sz) { return Vec3(v.x * sx, v.y, v.z * sz); }

// The mirror image of a feature is somewhere in the list (a cushion may run the other way).
bool hasMirror(const TableFeature& f, double sx, double sz) {
    const Vec3 p = mirrored(at(f, 0), sx, sz);
    for (const TableFeature& g : tableFeatures) {
        if (g.kind != f.kind) continue;
        if (f.kind == FEATURE_CORNER && same(at(g, 0), p)) return true;
        if (f.kind == FEATURE_POCKET && same(at(g, 0), p) && g.d[6] == f.d[6]) return true;
        if (f.kind != FEATURE_CUSHION) continue;
        const Vec3 q = mirrored(at(f, 3), sx, sz);
        const bool ends = (same(at(g, 0), p) && same(at(g, 3), q)) ||
                          (same(at(g, 0), q) && same(at(g, 3), p));
        if (ends && same(at(g, 6), mirrored(at(f, 6), sx, sz))) return true;
    }
    return false;
}

Ball rollingBall(double x, double z, double vx, double vz) {
    const RackEntry& r = rack[0];
    Ball ball(r.number, r.radius, r.position, r.diffuse, r.specular, &r.shininess);
    ball.position = Vec3(x, 1, z);
    ball.velocity = Vec3(vx, 0, vz);
    ball.setRolling();
    return ball;
}

const float ORIGIN[3] = {0, 0, 0};
const float FELT[4] = {0, 0.75f, 0, 1};
const float SHEEN[4] = {0.75f, 0.75f, 0.75f, 1};
const float SHININESS = 75;
} // namespace

TEST(TableFeatures, SixPocketGroupsAndSixStraightCushions) {
    ASSERT_EQ(tableFeatureCount, 42);
    int kinds[3] = {};
    for (const TableFeature& f : tableFeatures) ++kinds[f.kind];
    EXPECT_EQ(kinds[FEATURE_CUSHION], 24);
    EXPECT_EQ(kinds[FEATURE_CORNER], 12);
    EXPECT_EQ(kinds[FEATURE_POCKET], 6);
    const TableFeature& nearCushion = tableFeatures[20];
    EXPECT_TRUE(same(at(nearCushion, 0), Vec3(-19, 1, 44)));
    EXPECT_TRUE(same(at(nearCushion, 3), Vec3(19, 1, 44)));
    EXPECT_TRUE(same(at(nearCushion, 6), Vec3(0, 0, -1)));
    for (const int side : {12, 33}) {
        EXPECT_EQ(std::fabs(tableFeatures[side].d[0]), 25.0);
        EXPECT_EQ(tableFeatures[side].d[2], 0.0);
    }
    for (const TableFeature& f : tableFeatures)
        if (f.kind == FEATURE_POCKET) {
            EXPECT_EQ(f.d[6], 3.0);
        }
}

TEST(TableFeatures, CushionsCloseOneLoopWithNormalsFacingTheBalls) {
    const TableFeature* previous = nullptr;
    for (const TableFeature& f : tableFeatures) {
        if (f.kind != FEATURE_CUSHION) continue;
        if (previous) {
            EXPECT_TRUE(same(at(*previous, 3), at(f, 0)));
        }
        previous = &f;
        // The loop runs clockwise seen from above, so the balls' side is on the left of travel.
        const Vec3 along = at(f, 3) - at(f, 0);
        EXPECT_GT(along.z * f.d[6] - along.x * f.d[8], 0.0) << "normal of cushion " << (&f - tableFeatures);
        EXPECT_EQ(along.dot(at(f, 6)), 0.0);
    }
    EXPECT_TRUE(same(at(*previous, 3), at(tableFeatures[0], 0)));
}

TEST(TableFeatures, SymmetricUnderBothMirrors) {
    for (const TableFeature& f : tableFeatures) {
        EXPECT_TRUE(hasMirror(f, -1, 1)) << "x mirror of feature " << (&f - tableFeatures);
        EXPECT_TRUE(hasMirror(f, 1, -1)) << "z mirror of feature " << (&f - tableFeatures);
    }
}

TEST(Table, ConstructorKeepsSizeAndFeltTexture) {
    const Table table(88, 44, ORIGIN, FELT, SHEEN, &SHININESS);
    EXPECT_EQ(table.length, 88);
    EXPECT_EQ(table.width, 44);
    EXPECT_EQ(std::string(table.textureFile), "Data/tablefelt.bmp");
    EXPECT_EQ(table.diffuse[1], 0.75f);
}

TEST(TableTimeToHit, FindsTheFirstFeatureAlongTheWay) {
    const Table table(88, 44, ORIGIN, FELT, SHEEN, &SHININESS);
    int feature = -7;
    EXPECT_EQ(table.timeToHit(rollingBall(0, 40, 0, 3), feature), 1.0);
    EXPECT_EQ(feature, 20);
    // The side pocket takes the ball 3 from its centre, before the back cushion at 1.8.
    EXPECT_DOUBLE_EQ(table.timeToHit(rollingBall(-15, 0, -5, 0), feature), 1.4);
    EXPECT_EQ(feature, 12);
    // Beyond the end of the short cushion the jaw of the corner pocket takes the contact.
    EXPECT_GT(table.timeToHit(rollingBall(20.5, 40, 0, 3), feature), 1.0);
    EXPECT_EQ(feature, 21);
    // Sliding along a cushion never touches it.
    table.timeToHit(rollingBall(0, 43, 4, 0), feature);
    EXPECT_NE(feature, 20);
    EXPECT_EQ(table.timeToHit(rollingBall(3, 3, 0, 0), feature), -1.0);
    EXPECT_EQ(feature, -1);
    Ball dropped = rollingBall(0, 40, 0, 3);
    dropped.pocketed = true;
    EXPECT_EQ(table.timeToHit(dropped, feature), -1.0);
}

TEST(TableTimeToHit, PocketCentresPassThroughSinglePrecision) {
    // The probe ball standing for the pocket at (24.1, 1, 46.1) holds its centre as floats.
    const Table table(88, 44, ORIGIN, FELT, SHEEN, &SHININESS);
    const Ball ball = rollingBall(18, 40, 3, 3);
    const Vec3 floatCentre(0x1.81999ap+4, 1, 0x1.70ccccp+5), doubleCentre(24.1, 1, 46.1);
    const double expected = contactTime(ball.position - floatCentre, ball.velocity, 3.0);
    ASSERT_NE(expected, contactTime(ball.position - doubleCentre, ball.velocity, 3.0));
    int feature = -1;
    EXPECT_EQ(table.timeToHit(ball, feature), expected);
    EXPECT_EQ(feature, 26);
}

TEST(TableCollide, CushionReturnsSeventyPercentOfTheNormalSpeed) {
    const Table table(88, 44, ORIGIN, FELT, SHEEN, &SHININESS);
    Ball ball = rollingBall(5, 43, 1, 3);
    ball.number = 6;
    testing::internal::CaptureStdout();
    table.collide(ball, 20);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Ball  6 collided with wall   20\n");
    EXPECT_EQ(ball.velocity.x, 1.0);
    EXPECT_DOUBLE_EQ(ball.velocity.z, -2.1);
    EXPECT_NEAR(ball.acceleration.length(), 2.0, 1e-12);
    EXPECT_LT(ball.acceleration.dot(ball.velocity), 0.0);

    Ball straight = rollingBall(0, 43, 0, 3);
    testing::internal::CaptureStdout();
    table.collide(straight, 20);
    testing::internal::GetCapturedStdout();
    EXPECT_DOUBLE_EQ(straight.velocity.z, -2.1);
    EXPECT_EQ(straight.acceleration.z, 2.0);
}

TEST(TableCollide, CornerReflectsAboutTheLineFromThePoint) {
    const Table table(88, 44, ORIGIN, FELT, SHEEN, &SHININESS);
    Ball ball = rollingBall(18.4, 43.2, 0, 1); // 1 from the corner point (19, 44)
    testing::internal::CaptureStdout();
    table.collide(ball, 24);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Ball  0 collided with corner 24\n");
    EXPECT_NEAR(ball.velocity.x, -0.816, 1e-12);
    EXPECT_NEAR(ball.velocity.z, -0.088, 1e-12);
}

TEST(TableCollide, PocketDropsTheBallBelowTheTableAndTellsTheReferee) {
    const Table table(88, 44, ORIGIN, FELT, SHEEN, &SHININESS);
    referee.reset();
    Ball cue = rollingBall(-22.5, 0, -3, 0);
    testing::internal::CaptureStdout();
    table.collide(cue, 12);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Ball  0 collided with pocket 12\n");
    EXPECT_TRUE(cue.pocketed);
    EXPECT_EQ(cue.position.y, -2.0);
    EXPECT_EQ(cue.position.x, -22.5);
    EXPECT_EQ(cue.velocity.length() + cue.acceleration.length() + cue.angularVelocity.length() +
                  cue.angularAcceleration.length(),
              0.0);
    EXPECT_TRUE(referee.cuePocketed);

    Ball fifteen = rollingBall(22.5, 0, 3, 0);
    fifteen.number = 15;
    testing::internal::CaptureStdout();
    table.collide(fifteen, 33);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(fifteen.position.y, -32.0);
    EXPECT_EQ(referee.firstPocketed, 15);
    EXPECT_EQ(referee.stripesRemaining, 6);
    referee.reset();
}
