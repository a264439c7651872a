// The shot loop: event order and tie-breaks, stopping balls, the end-of-shot test, no heap use.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <future>
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

namespace {
// A ball in play as the soak found it: position, velocity and deceleration in the x-z plane.
struct Moving {
    int index;
    double x, z, vx, vz, ax, az;
};

void layOut(std::initializer_list<Moving> layout) {
    for (Ball* ball : balls) ball->pocketed = true;
    for (const Moving& m : layout) {
        Ball& ball = *balls[m.index];
        ball.pocketed = false;
        ball.position = Vec3(m.x, 1, m.z);
        ball.velocity = Vec3(m.vx, 0, m.vz);
        ball.acceleration = Vec3(m.ax, 0, m.az);
        ball.angularVelocity = Vec3(m.vz, 0, -m.vx);
        ball.angularAcceleration = Vec3(m.az, 0, -m.ax);
    }
}

// One frame that must come back; a hang ends the test process rather than the whole run.
void simulateFrameOrDie(double dt) {
    testing::internal::CaptureStdout();
    auto frame = std::async(std::launch::async, [dt] { return simulate(dt); });
    if (frame.wait_for(std::chrono::seconds(20)) == std::future_status::timeout) {
        std::fprintf(stderr, "simulate does not return\n");
        std::_Exit(1);
    }
    testing::internal::GetCapturedStdout();
}

void expectApart(double dt) {
    for (int i = 0; i < BALL_COUNT; ++i)
        for (int j = i + 1; j < BALL_COUNT; ++j) {
            if (balls[i]->pocketed || balls[j]->pocketed) continue;
            EXPECT_GT((balls[i]->position - balls[j]->position).length(), 2.0 - dt * dt)
                << i << " " << j;
        }
}
} // namespace

TEST_F(SimulateTest, ABallJammedBetweenTwoOthersDoesNotHangTheFrame) {
    // The cue ball runs into a cluster; ball 1 ends up pushing ball 10 along while touching
    // ball 9, and each push at time 0 buys only a vanishing stop of ball 9.
    layOut({{0, -0x1.255784p+3, -0x1.14a04cp+4, -0x1.86b07d383d59ap+0, -0x1.5fb37dc4d6423p-2,
             0x1.f381b54c5692dp+0, 0x1.c1a8bd842dep-2},
            {1, -0x1.1a5ae8p+3, -0x1.ea33d2p+3, 0, 0, 0, 0},
            {2, -0x1.baaae6p+2, -0x1.d6e7ap+3, 0, 0, 0, 0},
            {3, -0x1.58816p+3, -0x1.f97a6p+3, 0, 0, 0, 0},
            {4, -0x1.636c38p+3, -0x1.1c675ep+4, 0, 0, 0, 0},
            {5, -0x1.b1c654p+2, -0x1.0b6004p+4, 0, 0, 0, 0},
            {6, -0x1.407e1cp+2, -0x1.c3d15p+3, 0, 0, 0, 0},
            {7, -0x1.0254d8p+4, 0x1.4e5fc8p+4, 0, 0, 0, 0},
            {8, -0x1.4782f8p+2, -0x1.83e9f6p+3, 0, 0, 0, 0},
            {9, -0x1.c7661ap+2, -0x1.813a62p+3, 0, 0, 0, 0}});
    const double dt = 0x1.ab37b3b9a188p-5;
    simulateFrameOrDie(dt);
    expectApart(dt);
}

TEST_F(SimulateTest, ABallSqueezingThroughANarrowGapGetsThrough) {
    // Balls 9 and 3 are a hair less than a diameter apart; ball 1 pushes between them.
    layOut({{0, 0x1.03d2c473e80c9p+3, 0x1.839d96a6f050dp+4, 0x1.b0308406c33cfp-3,
             0x1.793025041db63p-3, -0x1.81c05e5eb7948p+0, -0x1.50a8e9333e333p+0},
            {1, 0x1.2e4f8c1924a2fp+3, 0x1.69c1a5ca066e6p+4, 0x1.43fb29fd19d7fp-2,
             -0x1.85aa30c9b09bp-2, -0x1.47554e6212ce2p+0, 0x1.89b24fd6b2474p+0},
            {2, 0x1.8717c8p+2, 0x1.7ce7f6p+4, 0, 0, 0, 0},
            {3, 0x1.fa2d1f77651dbp+2, 0x1.554de7f8c06ffp+4, -0x1.c9e2e61fbd548p-9,
             -0x1.7cb3f0c8285e5p-9, 0x1.89b24fd6b2475p+0, 0x1.47554e6212ce2p+0},
            {4, 0x1.60074066415dp+3, 0x1.7de83093e3fcp+4, 0x1.975abb164bbfp-12,
             0x1.49a4e2938d558p-12, -0x1.8e0198b37f039p+0, -0x1.421448f9942f9p+0},
            {5, 0x1.38c156p+3, 0x1.49aea8p+4, 0, 0, 0, 0}});
    const double dt = 0x1.2274185140e13p-5;
    for (int frame = 0; frame < 10; ++frame) simulateFrameOrDie(dt);
    expectApart(dt);
    EXPECT_GT((balls[3]->position - balls[4]->position).length(), 4.0 - 1e-12);
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
