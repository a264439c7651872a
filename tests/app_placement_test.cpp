// Ball in hand: moving the lifted cue ball, placing it or striking from it, refusals, and the
// re-spot key.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/placement.h"
#include "app/shot.h"
#include "game_test_util.h"
#include "render/camera.h"
#include "render/cue.h"
#include "sim/ball.h"
#include "sim/referee.h"

namespace {
class PlacementTest : public testing::Test {
protected:
    void SetUp() override { giveBallInHand(); }
    static Ball& cueBall() { return game.balls[0]; }
    static void hoverAt(double x, double z) { cueBall().position = Vec3(x, PLACING_HEIGHT, z); }
};

// On the overhead screen up is -x and left is +z; a step is half the arrow's degrees, and the
// ball's centre stays a radius inside the cushions (21 and 43 from the centre lines).
TEST_F(PlacementTest, ArrowsMoveTheBallTheWayTheyPointUpToTheCushions) {
    const struct {
        int key;
        double degrees, x, z;
    } cases[] = {
        {GLUT_KEY_LEFT, 0.5, 0, 0.25}, {GLUT_KEY_UP, 1, -0.5, 0},     {GLUT_KEY_RIGHT, 30, 0, -15},
        {GLUT_KEY_DOWN, 30, 15, 0},    {GLUT_KEY_F12, 30, 0, 0},      {GLUT_KEY_LEFT, 100, 0, 43},
        {GLUT_KEY_UP, 100, -21, 0},    {GLUT_KEY_RIGHT, 100, 0, -43}, {GLUT_KEY_DOWN, 100, 21, 0}};
    for (const auto& c : cases) {
        hoverAt(0.0, 0.0);
        moveCueBall(c.key, c.degrees);
        EXPECT_EQ(xyz(cueBall().position), (Xyz{c.x, 3, c.z})) << c.key << " by " << c.degrees;
    }
    special(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(cue->angle + camera->azimuth, 0.0); // the aim and the view stay put
    EXPECT_EQ(redisplayRequests, 11);             // one per move, one more for the key
}

// Mended: struck where it hovers, the lifted ball passed over the others and could leave the
// table; F1 to F8 now first place the ball as Enter does.
TEST_F(PlacementTest, EnterOrAFixedPowerKeyPlacesTheBallOnAFreeSpotOnly) {
    const struct {
        double x, z;
        int special; // 0 for Enter
        PlayState state;
        double speed; // units/s
    } cases[] = {
        {5, 10, 0, PlayState::Aiming, 0},
        {0, -19.75, 0, PlayState::Aiming, 0},
        {0, -20, 0, PlayState::PlacingCueBall,
         0}, // centres exactly 2.0 apart: the apex ball is touched
        {0, 10, GLUT_KEY_F3, PlayState::Shooting, 20},
        {1, -22.5, GLUT_KEY_F8, PlayState::PlacingCueBall, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "at " << c.x << ", " << c.z << " key " << c.special);
        giveBallInHand();
        hoverAt(c.x, c.z);
        c.special ? special(c.special, 0, 0) : keyboard(13, 0, 0);
        const bool placed = c.state != PlayState::PlacingCueBall;
        EXPECT_EQ(game.referee.playState, c.state);
        EXPECT_EQ(placementRefused(), !placed);
        EXPECT_EQ(xyz(cueBall().position), (Xyz{c.x, placed ? 1.0 : 3.0, c.z}));
        EXPECT_EQ(-cueBall().velocity.z, c.speed);
        EXPECT_EQ(camera->targetZ, placed ? c.z : 0.0); // the view and the cue come to the ball
        EXPECT_EQ(cue->position.z, placed ? c.z : 0.0);
    }
}

TEST_F(PlacementTest, F9PutsTheCueBallBackOnItsStartSpotAtRest) {
    Ball& ball = cueBall();
    ball.velocity = ball.acceleration = ball.rotation = ball.angularVelocity = Vec3(1.0, 0.0, 1.0);
    ball.pocketed = true;
    special(GLUT_KEY_F9, 0, 0);
    EXPECT_EQ(game.referee.playState, PlayState::Aiming);
    EXPECT_FALSE(ball.pocketed);
    EXPECT_EQ(xyz(ball.position), (Xyz{0, 1, 22}));
    EXPECT_EQ(ball.velocity.length() + ball.acceleration.length() + ball.rotation.length(), 0.0);
    EXPECT_EQ((Xyz{camera->targetX, camera->targetY, camera->targetZ}), (Xyz{0, 1, 22}));
    EXPECT_EQ(xyz(cue->position), (Xyz{0, 1, 22}));
}

// Mended: F9 used to put the cue ball inside a ball lying on its start spot (0, 1, 22).
TEST_F(PlacementTest, F9DoesNothingWhileABallInPlayLiesOnTheStartSpot) {
    for (PlayState state : {PlayState::Aiming, PlayState::PlacingCueBall}) {
        game.referee.playState = state;
        cueBall().position = Vec3(-10.0, 1.0, -30.0);
        game.balls[5].pocketed = false;
        game.balls[5].position = Vec3(0.5, 1.0, 21.5);
        special(GLUT_KEY_F9, 0, 0);
        EXPECT_EQ(game.referee.playState, state);
        EXPECT_EQ(xyz(cueBall().position), (Xyz{-10, 1, -30}));
        game.balls[5].pocketed = true; // a pocketed ball there is no obstacle
        special(GLUT_KEY_F9, 0, 0);
        EXPECT_EQ(xyz(cueBall().position), (Xyz{0, 1, 22}));
    }
}
} // namespace
