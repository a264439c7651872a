// The shot loop: event order and tie-breaks, stopping balls, the end-of-shot test, no heap use.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <string>

#include "sim/ball.h"
#include "sim/headless.h"
#include "sim/referee.h"
#include "sim/simulation.h"
#include "sim/strike.h"
#include "sim/table.h"

// Counts every operator new in this process, to prove that simulate allocates nothing.
namespace {
std::atomic<long> heapAllocations{0};
}
void* operator new(std::size_t size) {
    ++heapAllocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

namespace {
class SimulateTest : public testing::Test {
protected:
    void SetUp() override { setUpHeadlessGame(); }

    // Takes every ball but the listed ones (array indexes) off the table.
    static void keepOnly(std::initializer_list<int> indexes) {
        for (Ball* ball : balls) ball->pocketed = true;
        for (const int i : indexes) balls[i]->pocketed = false;
    }
    static void place(int index, double x, double z, double vx = 0, double vz = 0) {
        Ball& ball = *balls[index];
        ball.position = Vec3(x, 1, z);
        ball.velocity = Vec3(vx, 0, vz);
        ball.setRolling();
    }
    static std::string run(double dt) {
        testing::internal::CaptureStdout();
        simulate(dt);
        return testing::internal::GetCapturedStdout();
    }
};
} // namespace

TEST_F(SimulateTest, ZeroOrNegativeTimeChangesNothing) {
    strikeBall(*balls[0], 0, 100);
    EXPECT_EQ(run(0.0), "");
    EXPECT_EQ(run(-1.0), "");
    EXPECT_EQ(balls[0]->position.z, 22.0);
    EXPECT_EQ(balls[0]->velocity.z, -100.0);
}

TEST_F(SimulateTest, WithoutContactsEveryBallAdvancesInOnePass) {
    keepOnly({0, 4});
    place(0, 0, 10, 0, -5);
    place(4, -10, 0, 3, 4);
    Ball expected0 = *balls[0], expected4 = *balls[4];
    expected0.advance(0.5);
    expected4.advance(0.5);
    EXPECT_EQ(run(0.5), "");
    EXPECT_EQ(balls[0]->position.z, expected0.position.z);
    EXPECT_EQ(balls[4]->position.x, expected4.position.x);
    EXPECT_EQ(balls[4]->position.z, expected4.position.z);
}

TEST_F(SimulateTest, SimultaneousContactsLowerBallIndexFirst) {
    keepOnly({3, 7});
    place(7, 0, -42.997, 0, -3); // both reach a short cushion at t = 0.001
    place(3, 0, 42.997, 0, 3);
    EXPECT_EQ(run(0.01),
              "Ball  9 collided with wall   20\n"
              "Ball 12 collided with wall   41\n");
}

TEST_F(SimulateTest, OneBallsTableContactBeforeItsBallContacts) {
    // Ball index 2 reaches the cushion at t = 1, exactly when it grazes the resting ball 5.
    keepOnly({2, 5});
    place(2, 0, 40, 0, 3);
    place(5, -2, 43);
    EXPECT_EQ(run(1.25), "Ball 10 collided with wall   20\n");
    // With the roles in the other order, the lower index's ball contact comes first.
    setUpHeadlessGame();
    keepOnly({2, 5});
    place(5, 0, 40, 0, 3);
    place(2, -2, 43);
    EXPECT_EQ(run(1.25).substr(0, 32), "Ball 10 collided with ball    8\n");
}

TEST_F(SimulateTest, ContactExactlyAtTheEndOfTheFrameWaitsForTheNextFrame) {
    keepOnly({0});
    place(0, 0, 40, 0, 30); // straight-line contact at t = 0.1
    EXPECT_EQ(run(0.1), "");
    EXPECT_EQ(run(0.01), "Ball  0 collided with wall   20\n");
}

TEST_F(SimulateTest, AStoppingBallRestsAtItsTurningPoint) {
    // Advanced through the whole 10 s frame, this ball would end at z = +90.
    keepOnly({0});
    place(0, 0, 0, 0, -1);
    EXPECT_EQ(run(10.0), "");
    EXPECT_NEAR(balls[0]->position.z, -0.25, 1e-15);
    EXPECT_EQ(balls[0]->velocity.length() + balls[0]->acceleration.length(), 0.0);
    EXPECT_EQ(balls[0]->angularVelocity.length() + balls[0]->angularAcceleration.length(), 0.0);
    EXPECT_EQ(balls[0]->rotation.length(), 0.0);
    EXPECT_TRUE(allBallsAtRest());
}

TEST_F(SimulateTest, ABallStoppingShortOfAContactReportsNone) {
    keepOnly({0, 1});
    place(0, 0, 40, 0, 1); // straight-line contact at t = 3; stops 0.25 further on
    place(1, 10, 0, 0, -1.5);
    EXPECT_EQ(run(5.0), "");
    EXPECT_NEAR(balls[0]->position.z, 40.25, 1e-12);
    EXPECT_NEAR(balls[1]->position.z, -0.5625, 1e-12);
    EXPECT_TRUE(allBallsAtRest());
}

TEST_F(SimulateTest, TouchingBallsMovingSidewaysDoNotHang) {
    keepOnly({0, 1});
    place(1, 0, 0);
    place(0, 0.669487826034133, 1.8846182772094964, -9.423091386047481, 3.347439130170665);
    for (const double dt : {1.0 / 60, 1.0 / 240, 0.5}) {
        testing::internal::CaptureStdout();
        EXPECT_LT(simulate(dt), 10);
        testing::internal::GetCapturedStdout();
    }
}

TEST_F(SimulateTest, TheBreakEndsWithEveryBallAtRestWithoutHeapUse) {
    strikeBall(*balls[0], 0, 100);
    EXPECT_FALSE(allBallsAtRest());
    testing::internal::CaptureStdout();
    const long before = heapAllocations.load();
    int frames = 0, contacts = 0;
    while (!allBallsAtRest() && frames < 10000) {
        contacts += simulate(1.0 / 60);
        ++frames;
    }
    const long allocations = heapAllocations.load() - before;
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(allocations, 0);
    EXPECT_TRUE(allBallsAtRest());
    EXPECT_GT(contacts, 20);
    EXPECT_LT(frames, 50 * 60); // a 100 units/s shot is over within 50 s
}

TEST_F(SimulateTest, PocketedBallsCountAsAtRest) {
    EXPECT_TRUE(allBallsAtRest());
    balls[15]->velocity = Vec3(0, 0, 1e-9);
    EXPECT_FALSE(allBallsAtRest());
    keepOnly({0});
    balls[0]->velocity = Vec3(); // a dropped ball has zero velocity
    balls[15]->velocity = Vec3();
    EXPECT_TRUE(allBallsAtRest());
}

TEST(Strike, RollsTheCueBallAlongTheAim) {
    setUpHeadlessGame();
    Ball& cue = *balls[0];
    strikeBall(cue, 90, 40);
    EXPECT_NEAR(cue.velocity.x, -40, 1e-12);
    EXPECT_NEAR(cue.velocity.z, 0, 1e-7); // the game's degree factor is not quite pi/180
    EXPECT_NEAR(cue.acceleration.x, 2, 1e-12);
    EXPECT_EQ(cue.angularVelocity.x, cue.velocity.z);
    EXPECT_EQ(cue.angularVelocity.z, -cue.velocity.x);
    EXPECT_EQ(cue.angularAcceleration.z, -cue.acceleration.x);
    EXPECT_EQ(cue.position.z, 22.0);
    strikeBall(cue, 0, 100);
    EXPECT_EQ(cue.velocity.z, -100.0);
    EXPECT_EQ(cue.acceleration.z, 2.0);
    // Power 0 leaves the ball where it is, without speed but with its deceleration: the shot
    // ends after the first frame, however long, and the ball must not creep backwards.
    strikeBall(cue, 33, 0);
    EXPECT_GT(cue.acceleration.length(), 0.0);
    testing::internal::CaptureStdout();
    simulate(10.0);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(allBallsAtRest());
    EXPECT_EQ(cue.acceleration.length(), 0.0);
    EXPECT_EQ(cue.position.x, 0.0);
    EXPECT_EQ(cue.position.z, 22.0);
}
