// Balls: the rack, reset and overlaps, motion, and ball-to-ball prediction and impulses.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "sim/ball.h"

namespace {
Ball rackBall(int row) {
    const RackEntry& r = rack[row];
    return Ball(r.number, r.radius, r.position, r.diffuse, r.specular, &r.shininess);
}

Ball movingBall(double x, double z, double vx, double vz) {
    Ball ball = rackBall(0);
    ball.position = Vec3(x, 1, z);
    ball.velocity = Vec3(vx, 0, vz);
    ball.setRolling();
    return ball;
}

bool isIdentity(const float m[16]) {
    for (int i = 0; i < 16; ++i)
        if (m[i] != ((i % 5 == 0) ? 1.0f : 0.0f)) return false;
    return true;
}
} // namespace

TEST(Rack, BallsInRowOrderWithTheirSpotsAndTextures) {
    const int numbers[BALL_COUNT] = {0, 1, 10, 9, 3, 8, 2, 12, 5, 4, 11, 7, 15, 6, 14, 13};
    for (int i = 0; i < BALL_COUNT; ++i) {
        const Ball ball = rackBall(i);
        EXPECT_EQ(ball.number, numbers[i]);
        EXPECT_EQ(ball.radius, 1.0);
        EXPECT_EQ(ball.mass, 1.0);
        EXPECT_EQ(ball.position.y, 1.0);
        EXPECT_FALSE(ball.pocketed);
        EXPECT_TRUE(isIdentity(ball.orientation));
        EXPECT_EQ(ball.textureId, 0u);
        EXPECT_EQ(std::string(ball.textureFile), "Data/ball" + std::to_string(numbers[i]) + ".bmp");
        EXPECT_EQ(ball.velocity.length() + ball.angularVelocity.length() +
                      ball.acceleration.length() + ball.rotation.length(),
                  0.0);
    }
    // The float spot widens exactly; the apex sits on the foot spot, the eight mid third row.
    EXPECT_EQ(rackBall(0).position.z, 22.0);
    EXPECT_EQ(rackBall(1).position.z, -22.0);
    EXPECT_EQ(rackBall(5).position.z, static_cast<double>(-25.464102f));
    EXPECT_EQ(rackBall(5).position.x, 0.0);
}

TEST(Rack, NoTwoRackedBallsOverlapButNeighboursNearlyTouch) {
    for (int i = 0; i < BALL_COUNT; ++i)
        for (int j = i + 1; j < BALL_COUNT; ++j) {
            const Vec3 d = rackBall(i).position - rackBall(j).position;
            EXPECT_GT(d.length(), 2.0 - 1e-5) << i << " " << j;
        }
    const Vec3 apexToNext = rackBall(1).position - rackBall(2).position;
    EXPECT_NEAR(apexToNext.length(), 2.0, 1e-5);
}

TEST(Ball, ProbeHasOnlyRadiusAndPosition) {
    const Ball probe(3.0f, 24.1f, 1.0f, -46.1f);
    EXPECT_EQ(probe.radius, 3.0);
    EXPECT_EQ(probe.position.x, static_cast<double>(24.1f));
    EXPECT_FALSE(probe.pocketed);
    EXPECT_EQ(probe.textureFile[0], '\0');
}

TEST(Ball, OverlapsCountsTouchingAndIgnoresPocketedBalls) {
    Ball a = rackBall(0), b = rackBall(1);
    a.position = Vec3(0, 1, 0);
    b.position = Vec3(2, 1, 0);
    EXPECT_TRUE(a.overlaps(b));
    b.position = Vec3(2.000001, 1, 0);
    EXPECT_FALSE(a.overlaps(b));
    b.position = a.position;
    b.pocketed = true;
    EXPECT_FALSE(a.overlaps(b));
    EXPECT_FALSE(b.overlaps(a));
}

TEST(Ball, ResetPutsARollingBallBackAtRest) {
    Ball ball = movingBall(3, 4, 5, -6);
    ball.advance(0.4);
    ball.foldRotation();
    ball.advance(0.2);
    ball.pocketed = true;
    const float spot[3] = {1.5f, 1.0f, -7.25f};
    ball.reset(spot);
    EXPECT_FALSE(ball.pocketed);
    EXPECT_EQ(ball.position.x, 1.5);
    EXPECT_EQ(ball.position.z, -7.25);
    EXPECT_EQ(ball.velocity.length() + ball.acceleration.length() + ball.rotation.length() +
                  ball.angularVelocity.length() + ball.angularAcceleration.length(),
              0.0);
    EXPECT_TRUE(isIdentity(ball.orientation));
    EXPECT_EQ(ball.number, 0);
}

TEST(Advance, StopsAtTheEndOfTheStepsParabola) {
    Ball ball = rackBall(0);
    ball.position = Vec3(0, 1, 0);
    ball.velocity = Vec3(0, 0, -4);
    ball.acceleration = Vec3(0, 0, 2);
    ball.advance(1.0);
    EXPECT_EQ(ball.position.z, -3.0);
    EXPECT_EQ(ball.velocity.z, -2.0);
    ball.advance(1.5);
    // Called directly, advance keeps its formula: the parabola's value, not the turning point.
    EXPECT_EQ(ball.position.z, -3.75);
    EXPECT_EQ(ball.velocity.length(), 0.0);
    EXPECT_EQ(ball.acceleration.length(), 0.0);
}

TEST(Advance, RollingTurnsTheBallByTheDistanceAndFoldsWhenItStops) {
    Ball ball = movingBall(0, 0, 1.2, -1.6); // speed 2: stops after 1 s and 1 unit
    ball.advance(0.5);
    EXPECT_NEAR(ball.rotation.length(), 0.75, 1e-12); // the distance rolled so far
    EXPECT_TRUE(isIdentity(ball.orientation));
    ball.advance(0.5); // stops: the rotation is folded in
    EXPECT_EQ(ball.rotation.length(), 0.0);
    EXPECT_EQ(ball.angularVelocity.length(), 0.0);
    // The top of the ball has turned one radian towards the direction of travel (0.6, 0, -0.8).
    EXPECT_NEAR(ball.orientation[4], std::sin(1.0) * 0.6, 1e-6);
    EXPECT_NEAR(ball.orientation[5], std::cos(1.0), 1e-6);
    EXPECT_NEAR(ball.orientation[6], std::sin(1.0) * -0.8, 1e-6);
    float before[16];
    std::copy(ball.orientation, ball.orientation + 16, before);
    for (int i = 0; i < 5; ++i) ball.advance(0.7);
    for (int i = 0; i < 16; ++i) EXPECT_EQ(ball.orientation[i], before[i]);
}

TEST(BallTimeToHit, PredictsStraightLineContacts) {
    Ball a = movingBall(0, 0, 0, 0), b = movingBall(0, 4, 0, 0);
    a.velocity = Vec3(0, 0, 1);
    EXPECT_EQ(a.timeToHit(b), 2.0); // 4 apart, closing at 1
    a.velocity = Vec3(0, 0, -1);
    EXPECT_EQ(a.timeToHit(b), -1.0); // moving apart
    a.velocity = b.velocity = Vec3(3, 0, 0);
    EXPECT_EQ(a.timeToHit(b), -1.0); // side by side at equal velocity
    b.velocity = Vec3();
    b.position = Vec3(0, 1, 1.5);
    a.velocity = Vec3(0, 0, 1);
    EXPECT_EQ(a.timeToHit(b), 0.0); // overlapping and approaching
    a.velocity = Vec3(0, 0, -1);
    EXPECT_EQ(a.timeToHit(b), -1.0); // overlapping and separating
    b.position = Vec3(5, 1, 0);
    a.velocity = Vec3(1, 0, 0);
    b.pocketed = true;
    EXPECT_EQ(a.timeToHit(b), -1.0);
}

TEST(BallTimeToHit, TouchingBallsMovingSidewaysAreNotInContact) {
    // Rounding leaves b a hair below zero for this pair; taken as a contact, its impulse is too
    // small to change anything and the same contact comes back at time 0 for ever.
    Ball cue = movingBall(0.669487826034133, 1.8846182772094964, -9.423091386047481,
                          3.347439130170665);
    Ball other = movingBall(0, 0, 0, 0);
    const Vec3 d = cue.position - other.position;
    ASSERT_LT(d.dot(cue.velocity), 0.0);
    EXPECT_EQ(cue.timeToHit(other), -1.0);
    EXPECT_EQ(other.timeToHit(cue), -1.0);
    // A clearly approaching glancing pair is still found.
    cue.velocity = Vec3(-9.4, 0, 3.0);
    EXPECT_EQ(cue.timeToHit(other), 0.0);
}

TEST(CollideWith, HeadOnExchangesVelocities) {
    Ball a = movingBall(0, 2, 0, -7), b = movingBall(0, 0, 0, 0);
    a.number = 3;
    b.number = 11;
    testing::internal::CaptureStdout();
    a.collideWith(b);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Ball  3 collided with ball   11\n");
    EXPECT_EQ(a.velocity.length(), 0.0);
    EXPECT_EQ(a.acceleration.length(), 0.0);
    EXPECT_EQ(a.angularVelocity.length(), 0.0);
    EXPECT_EQ(b.velocity.z, -7.0);
    EXPECT_EQ(b.acceleration.z, 2.0);
    EXPECT_EQ(b.angularVelocity.x, -7.0); // (v.z, v.y, -v.x)
    EXPECT_EQ(b.angularAcceleration.x, 2.0);
}

TEST(CollideWith, FortyFiveDegreeCutSplitsAtRightAngles) {
    const double s = 10.0, h = std::sqrt(2.0);
    Ball a = movingBall(h, h, 0, -s), b = movingBall(0, 0, 0, 0);
    a.rotation = Vec3(0.4, 0, 0.2);
    testing::internal::CaptureStdout();
    a.collideWith(b);
    testing::internal::GetCapturedStdout();
    EXPECT_NEAR(a.velocity.dot(b.velocity), 0.0, 1e-12);
    EXPECT_NEAR(a.velocity.length(), s / h, 1e-12);
    EXPECT_NEAR(b.velocity.length(), s / h, 1e-12);
    EXPECT_NEAR((a.velocity + b.velocity).z, -s, 1e-12); // momentum kept
    // The rolling of both balls restarts from their folded orientations.
    EXPECT_EQ(a.rotation.length(), 0.0);
    EXPECT_FALSE(isIdentity(a.orientation));
    EXPECT_NEAR(a.acceleration.length(), 2.0, 1e-12);
    EXPECT_NEAR(a.acceleration.dot(a.velocity), -2.0 * a.velocity.length(), 1e-9);
}
