// The shot: charging, the release, the stroke, the strike and the playback to the shot's end.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/camera.h"
#include "app/key_repeat.h"
#include "app/keyboard.h"
#include "app/shot.h"
#include "app_play_test_util.h"
#include "render/cue.h"
#include "sim/ball.h"
#include "sim/referee.h"

namespace {
class ShotTest : public testing::Test {
protected:
    void SetUp() override { startPlay(); }
};

void charge(int keyEvents) {
    for (int i = 0; i < keyEvents; ++i) keyboard(' ', 0, 0);
}

// Stroke frames run before the strike (the strike's own frame not counted).
int strokeFrames() {
    int frames = 0;
    while (installedIdle() == &strokeIdle && cue->pull > 0.0) {
        strokeIdle();
        ++frames;
    }
    return frames;
}

TEST_F(ShotTest, EachSpaceEventDrawsTheCueBackOneUnitUpToExactlyOneHundred) {
    charge(1);
    EXPECT_EQ(cue->pull, 1.0);
    EXPECT_EQ(redisplayRequests, 1);
    charge(120);
    EXPECT_EQ(cue->pull, 100.0);
    redisplayRequests = 0;
    charge(1);
    EXPECT_EQ(redisplayRequests, 0); // nothing left to charge
}

TEST_F(ShotTest, ReleasingTheSpaceBarFixesThePowerAndStartsTheStrokeWithoutARedraw) {
    charge(30);
    redisplayRequests = 0;
    keyboardUp(' ', 0, 0);
    EXPECT_EQ(cue->power, 30.0);
    EXPECT_EQ(cue->strokeStep, 3.0);
    EXPECT_EQ(installedIdle(), &strokeIdle);
    EXPECT_EQ(redisplayRequests, 0);
    EXPECT_EQ(referee.playState, Aiming);
}

TEST_F(ShotTest, OtherReleasesAndReleasesOutsideAimingDoNothing) {
    charge(30);
    keyboardUp('z', 0, 0);
    keyboardUp(13, 0, 0);
    EXPECT_EQ(installedIdle(), nullptr);
    for (int state : {Shooting, PlacingCueBall, GameOver}) {
        referee.playState = state;
        keyboardUp(' ', 0, 0);
        EXPECT_EQ(installedIdle(), nullptr) << "state " << state;
        EXPECT_EQ(cue->power, 0.0);
    }
}

TEST_F(ShotTest, TheStrokeTakesTenFramesOrElevenWithARoundingRemainder) {
    // 30 - 10 x 3.0 is exactly 0; 1 - 10 x 0.1 leaves a sliver above 0.
    for (auto [pull, frames] : {std::pair{30, 10}, std::pair{5, 10}, std::pair{1, 11},
                                std::pair{3, 11}, std::pair{100, 10}}) {
        startPlay();
        charge(pull);
        keyboardUp(' ', 0, 0);
        redisplayRequests = 0;
        EXPECT_EQ(strokeFrames(), frames) << "pull " << pull;
        EXPECT_EQ(redisplayRequests, frames);
        EXPECT_EQ(referee.playState, Aiming);
        strokeIdle(); // the striking frame
        EXPECT_EQ(referee.playState, Shooting);
        EXPECT_EQ(balls[0]->velocity.z, -double(pull)) << "pull " << pull;
        EXPECT_EQ(cue->pull, 0.0);
        EXPECT_EQ(cue->power, 0.0);
        EXPECT_EQ(cue->strokeStep, 0.0);
    }
}

TEST_F(ShotTest, TheStrikeRollsTheCueBallAlongTheAimHidesTheCueAndStartsThePlayback) {
    strikeCueBall(40.0);
    const Ball& ball = *balls[0];
    EXPECT_EQ(ball.velocity.x, -0.0);
    EXPECT_EQ(ball.velocity.z, -40.0); // angle 0 shoots towards the rack at -z
    EXPECT_EQ(ball.acceleration.z, 2.0);
    EXPECT_EQ(ball.angularVelocity.x, -40.0);
    EXPECT_EQ(ball.angularAcceleration.x, 2.0);
    EXPECT_FALSE(cue->visible);
    EXPECT_EQ(referee.playState, Shooting);
    EXPECT_EQ(installedIdle(), &simulationIdle);

    startPlay();
    cue->angle = 90.0;
    strikeCueBall(40.0);
    EXPECT_NEAR(balls[0]->velocity.x, -40.0, 1e-9); // angle 90 along -x
    EXPECT_NEAR(balls[0]->velocity.z, 0.0, 1e-6);
}

TEST_F(ShotTest, TurningTheAimDuringTheStrokeChangesTheDirectionOfTheComingStrike) {
    charge(20);
    keyboardUp(' ', 0, 0);
    strokeIdle();
    cue->addAngles(90.0, 0.0);
    charge(5); // the bar still draws the cue back: the stroke lasts longer, the power stays
    EXPECT_EQ(strokeFrames(), 12);
    strokeIdle();
    EXPECT_NEAR(balls[0]->velocity.x, -20.0, 1e-9);
    EXPECT_NEAR(balls[0]->velocity.z, 0.0, 1e-6);
}

TEST_F(ShotTest, AReleaseAtPullZeroStrikesAtOnceWithPowerZeroAndEndsAfterOneFrame) {
    keyboardUp(' ', 0, 0); // its key-down was refused in another state
    strokeIdle();
    EXPECT_EQ(referee.playState, Shooting);
    EXPECT_EQ(balls[0]->velocity.length(), 0.0);
    setNextFrameTime(1.0 / 60.0);
    simulationIdle();
    EXPECT_EQ(installedIdle(), nullptr);
    EXPECT_EQ(referee.playState, Aiming);
    EXPECT_EQ(balls[0]->position.z, 22.0);
}

TEST_F(ShotTest, TheShotRunsWhileAnyBallMovesAtAllThenTheViewAndCueFollowTheCueBall) {
    strikeCueBall(10.0);
    setNextFrameTime(1.0);
    simulationIdle();
    EXPECT_EQ(installedIdle(), &simulationIdle);
    EXPECT_EQ(camera->targetZ, 22.0); // the camera does not follow the rolling ball
    // Creeping at a billionth of a unit per second still counts as moving.
    Ball& ball = *balls[0];
    ball.velocity = Vec3(0.0, 0.0, -1e-9);
    ball.acceleration = Vec3(0.0, 0.0, 1e-12);
    setNextFrameTime(1.0);
    simulationIdle();
    EXPECT_EQ(installedIdle(), &simulationIdle);
    EXPECT_EQ(referee.playState, Shooting);
    ball.velocity = ball.acceleration = Vec3();
    redisplayRequests = 0;
    simulationIdle();
    EXPECT_EQ(redisplayRequests, 1);
    EXPECT_EQ(installedIdle(), nullptr);
    EXPECT_EQ(referee.playState, Aiming);
    EXPECT_EQ(referee.currentPlayerNumber(), 2); // nothing dropped: the turn passes
    EXPECT_EQ(camera->targetZ, ball.position.z);
    EXPECT_EQ(cue->position.z, ball.position.z);
    EXPECT_EQ(cue->position.x, ball.position.x);
    EXPECT_TRUE(cue->visible);
}

TEST_F(ShotTest, AScratchEndsInBallInHandWithTheViewOverTheLiftedCueBall) {
    cue->angle = 135.0;
    special(GLUT_KEY_F7, 0, 0);
    ASSERT_GT(runIdle(), 0);
    EXPECT_EQ(referee.playState, PlacingCueBall);
    EXPECT_EQ(balls[0]->position.y, 3.0);
    EXPECT_EQ(camera->targetY, 3.0);
    EXPECT_EQ(cue->position.y, 3.0);
}

TEST_F(ShotTest, AShotThatEndsTheGameLeavesTheViewAndTheCueHidden) {
    special(GLUT_KEY_F11, 0, 0);
    balls[0]->position = Vec3(7.5, 1.0, -19.0);
    cue->angle = 49.0;
    special(GLUT_KEY_F7, 0, 0);
    ASSERT_GT(runIdle(), 0);
    EXPECT_EQ(referee.playState, GameOver);
    EXPECT_EQ(camera->targetZ, 22.0);
    EXPECT_FALSE(cue->visible);
}

// The X server repeats a held key as key-downs and, with detectable auto-repeat, sends one
// key-up at the real release: that stream gives one stroke and one strike.
TEST_F(ShotTest, AHeldSpaceBarStreamChargesOnceAndStrikesOnceWithPowerEqualToItsEvents) {
    EXPECT_TRUE(enableDetectableAutoRepeat());
    for (int i = 0; i < 37; ++i) sendKey(KEYSYM_SPACE, 0, true);
    EXPECT_EQ(cue->pull, 37.0);
    EXPECT_EQ(installedIdle(), nullptr);
    sendKey(KEYSYM_SPACE, 0, false);
    EXPECT_EQ(installedIdle(), &strokeIdle);
    EXPECT_EQ(cue->power, 37.0);
    int strikes = 0;
    double speed = 0.0;
    for (int frame = 0; frame < 20; ++frame) {
        if (installedIdle() != &strokeIdle) break;
        strokeIdle();
        if (referee.playState == Shooting) {
            ++strikes;
            speed = balls[0]->velocity.length();
        }
    }
    EXPECT_EQ(strikes, 1);
    EXPECT_EQ(speed, 37.0);
}
} // namespace
