// The shot loop: contacts in time order and their tie-breaks, stops, the shot's end, hard cases.
#include <array>

#include "sim_test_util.h"

// At 2 units/s^2 of deceleration, 2 units/s stops after 1 s and 1 unit, 1.5 units/s after 0.5625.
TEST(Simulate, BallsRollOnTheirParabolasAndRestAtTheirTurningPoints) {
    keepOnly({0, 4});
    place(0, 0, 40, 0, 2); // on a straight line it would reach the cushion at t = 1.5
    place(4, -10, 0, 0, -1.5);
    EXPECT_EQ(printed([] { simulate(0.5), simulate(0.0), simulate(-1.0); }), "");
    EXPECT_EQ(balls[0].position.z, 40.75);
    EXPECT_EQ(balls[4].position.z, -0.5);
    EXPECT_FALSE(allBallsAtRest());
    EXPECT_EQ(printed([] { simulate(10.0); }), "");
    EXPECT_NEAR(balls[0].position.z, 41.0, 1e-12);
    EXPECT_NEAR(balls[4].position.z, -0.5625, 1e-12);
    for (const Ball& b : {balls[0], balls[4]})
        EXPECT_EQ(b.acceleration.length() + b.angularVelocity.length() +
                      b.angularAcceleration.length() + b.rotation.length(),
                  0.0);
    EXPECT_TRUE(allBallsAtRest());
    balls[15].velocity = Vec3(0, 0, 1e-9); // a pocketed ball counts too
    EXPECT_FALSE(allBallsAtRest());
    balls[15].velocity = Vec3();
    strikeBall(balls[0], 33, 0); // stops at once, without creeping
    printed([] { simulate(10.0); });
    EXPECT_TRUE(allBallsAtRest() && balls[0].position.x == 0 && balls[0].position.z == 41);
}

TEST(Simulate, SimultaneousContactsGoLowerBallIndexFirstTableBeforeBall) {
    keepOnly({3, 7});
    place(7, 0, -42.997, 0, -3); // both reach a short cushion at t = 0.001
    place(3, 0, 42.997, 0, 3);
    EXPECT_EQ(printed([] { simulate(0.01); }),
              "Ball  9 collided with wall   20\nBall 12 collided with wall   41\n");
    // Ball index 2 reaches the cushion at t = 1, exactly when it grazes the resting ball index 5.
    keepOnly({2, 5});
    place(2, 0, 40, 0, 3);
    place(5, -2, 43);
    EXPECT_EQ(printed([] { simulate(1.25); }), "Ball 10 collided with wall   20\n");
    keepOnly({2, 5}); // the roles swapped: the lower index's ball contact comes first
    place(5, 0, 40, 0, 3);
    place(2, -2, 43);
    EXPECT_EQ(printed([] { simulate(1.25); }).substr(0, 32), "Ball 10 collided with ball    8\n");
    keepOnly({0}); // a contact exactly at the end of the frame waits for the next frame
    place(0, 0, 40, 0, 30);
    EXPECT_EQ(printed([] { simulate(0.1); }), "");
    EXPECT_EQ(printed([] { simulate(0.01); }), "Ball  0 collided with wall   20\n");
}

namespace {
// Balls in play as the soak found them: index, position, velocity and deceleration in the x-z
// plane.
void layOut(std::initializer_list<std::array<double, 7>> layout) {
    keepOnly({});
    for (const auto& m : layout) {
        Ball& ball = place(int(m[0]), m[1], m[2], m[3], m[4]);
        ball.pocketed = false;
        ball.acceleration = Vec3(m[5], 0, m[6]);
        ball.angularAcceleration = Vec3(m[6], 0, -m[5]);
    }
}

// Balls in play overlap by no more than the square of the frame time.
void playAndExpectApart(int frames, double dt) {
    for (int frame = 0; frame < frames; ++frame) printed([dt] { simulate(dt); });
    for (int i = 0; i < BALL_COUNT; ++i)
        for (int j = i + 1; j < BALL_COUNT; ++j)
            EXPECT_TRUE(balls[i].pocketed || balls[j].pocketed ||
                        (balls[i].position - balls[j].position).length() > 2.0 - dt * dt)
                << i << " " << j;
}
} // namespace

// Each of these used to hang the frame: a touching pair moving sideways found at time 0 again and
// again; a ball trading pushes with two neighbours without time passing; one squeezing through a
// gap.
TEST(Simulate, HardCasesEndTheFrameWithTheBallsApart) {
    keepOnly({0, 1});
    place(1, 0, 0);
    place(0, 0.669487826034133, 1.8846182772094964, -9.423091386047481, 3.347439130170665);
    for (const double dt : {1.0 / 60, 1.0 / 240, 0.5}) {
        int contacts = 0;
        printed([&] { contacts = simulate(dt); });
        EXPECT_LT(contacts, 10) << dt;
    }
    layOut({{0, -0x1.255784p+3, -0x1.14a04cp+4, -0x1.86b07d383d59ap+0, -0x1.5fb37dc4d6423p-2,
             0x1.f381b54c5692dp+0, 0x1.c1a8bd842dep-2},
            {1, -0x1.1a5ae8p+3, -0x1.ea33d2p+3},
            {2, -0x1.baaae6p+2, -0x1.d6e7ap+3},
            {3, -0x1.58816p+3, -0x1.f97a6p+3},
            {4, -0x1.636c38p+3, -0x1.1c675ep+4},
            {5, -0x1.b1c654p+2, -0x1.0b6004p+4},
            {6, -0x1.407e1cp+2, -0x1.c3d15p+3},
            {7, -0x1.0254d8p+4, 0x1.4e5fc8p+4},
            {8, -0x1.4782f8p+2, -0x1.83e9f6p+3},
            {9, -0x1.c7661ap+2, -0x1.813a62p+3}});
    playAndExpectApart(1, 0x1.ab37b3b9a188p-5);
    // Balls 9 and 3 (indexes 3 and 4) are a hair less than a diameter apart; ball 1 pushes between
    // them.
    layOut({{0, 0x1.03d2c473e80c9p+3, 0x1.839d96a6f050dp+4, 0x1.b0308406c33cfp-3,
             0x1.793025041db63p-3, -0x1.81c05e5eb7948p+0, -0x1.50a8e9333e333p+0},
            {1, 0x1.2e4f8c1924a2fp+3, 0x1.69c1a5ca066e6p+4, 0x1.43fb29fd19d7fp-2,
             -0x1.85aa30c9b09bp-2, -0x1.47554e6212ce2p+0, 0x1.89b24fd6b2474p+0},
            {2, 0x1.8717c8p+2, 0x1.7ce7f6p+4},
            {3, 0x1.fa2d1f77651dbp+2, 0x1.554de7f8c06ffp+4, -0x1.c9e2e61fbd548p-9,
             -0x1.7cb3f0c8285e5p-9, 0x1.89b24fd6b2475p+0, 0x1.47554e6212ce2p+0},
            {4, 0x1.60074066415dp+3, 0x1.7de83093e3fcp+4, 0x1.975abb164bbfp-12,
             0x1.49a4e2938d558p-12, -0x1.8e0198b37f039p+0, -0x1.421448f9942f9p+0},
            {5, 0x1.38c156p+3, 0x1.49aea8p+4}});
    playAndExpectApart(10, 0x1.2274185140e13p-5);
    EXPECT_GT((balls[3].position - balls[4].position).length(), 4.0 - 1e-12);
}
