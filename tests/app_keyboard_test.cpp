// The keys reaching their actions: view, aim, zoom, the charge and its stroke, the fixed-power
// keys, F10, F11 and Escape; and the shot played out to its end.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <stdio_ext.h>

#include "render/camera.h"
#include "app/keyboard.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app/objects.h"
#include "game_test_util.h"
#include "render/cue.h"
#include "sim/ball.h"
#include "sim/referee.h"

namespace {
class KeyboardTest : public testing::Test {
protected:
    void SetUp() override { startPlay(); }
};

// Arrows without modifiers here: the end-to-end game sends them with Ctrl, Alt and Shift.
TEST_F(KeyboardTest, EachKeyChangesTheViewTheAimTheChargeOrStrikesByItsStep) {
    const struct {
        PlayState state;
        unsigned char key; // or 0 for a special key
        int special;
        std::array<double, 6> distanceAzimuthElevationAngleAndPullThenSpeed;
        int redisplays;
    } cases[] = {
        {PlayState::Aiming, ' ', 0, {80, 0, 22, 0, 1, 0}, 1},         {PlayState::Aiming, 'z', 0, {79, 0, 22, 0, 0, 0}, 1},
        {PlayState::Aiming, 'x', 0, {81, 0, 22, 0, 0, 0}, 1},         {PlayState::Aiming, 'a', 0, {80, 0, 22, 0, 0, 0}, 0},
        {PlayState::Aiming, 13 /* Enter without the ball in hand */, 0, {80, 0, 22, 0, 0, 0}, 0},
        {PlayState::Aiming, 0, GLUT_KEY_LEFT, {80, -0.5, 22, -0.5, 0, 0}, 1}, {PlayState::Aiming, 0, GLUT_KEY_RIGHT, {80, 0.5, 22, 0.5, 0, 0}, 1},
        {PlayState::Aiming, 0, GLUT_KEY_UP, {80, 0, 22.5, 0, 0, 0}, 1},       {PlayState::Aiming, 0, GLUT_KEY_DOWN, {80, 0, 21.5, 0, 0, 0}, 1},
        {PlayState::Aiming, 0, GLUT_KEY_F12, {80, 0, 22, 0, 0, 0}, 1},
        {PlayState::GameOver, ' ', 0, {80, 0, 22, 0, 0, 0}, 0},       {PlayState::GameOver, 0, GLUT_KEY_LEFT, {80, 0, 22, 0, 0, 0}, 0},
        {PlayState::Aiming, 0, GLUT_KEY_F1, {80, 0, 22, 0, 0, 10}, 0}, {PlayState::Aiming, 0, GLUT_KEY_F2, {80, 0, 22, 0, 0, 15}, 0},
        {PlayState::Aiming, 0, GLUT_KEY_F3, {80, 0, 22, 0, 0, 20}, 0}, {PlayState::Aiming, 0, GLUT_KEY_F4, {80, 0, 22, 0, 0, 25}, 0},
        {PlayState::Aiming, 0, GLUT_KEY_F5, {80, 0, 22, 0, 0, 30}, 0}, {PlayState::Aiming, 0, GLUT_KEY_F6, {80, 0, 22, 0, 0, 35}, 0},
        {PlayState::Aiming, 0, GLUT_KEY_F7, {80, 0, 22, 0, 0, 40}, 0}, {PlayState::Aiming, 0, GLUT_KEY_F8, {80, 0, 22, 0, 0, 100}, 0},
    };
    for (const auto& c : cases) {
        startPlay();
        referee.playState = c.state;
        c.key ? keyboard(c.key, 0, 0) : special(c.special, 0, 0);
        SCOPED_TRACE(testing::Message() << "state " << int(c.state) << " key " << int(c.key) << " special " << c.special);
        EXPECT_EQ((std::array{camera->distance, camera->azimuth, camera->elevation, cue->angle, cue->pull,
                              -balls[0]->velocity.z}),
                  c.distanceAzimuthElevationAngleAndPullThenSpeed);
        EXPECT_EQ(redisplayRequests, c.redisplays);
    }
}

// F11 pockets every object ball but the eight where it lies and reports each once. Mended: F10
// during a stroke used to strike the fresh rack at power 0 and hand the break over.
TEST_F(KeyboardTest, F11ClearsTheTableAndF10DuringTheStrokeRestoresTheStartWithoutAStrike) {
    balls[3]->pocketed = true; // dropped earlier this shot, already reported
    referee.ballPocketed(balls[3]->number);
    special(GLUT_KEY_F11, 0, 0);
    special(GLUT_KEY_F11, 0, 0);
    for (int i = 1; i < BALL_COUNT; ++i) EXPECT_EQ(balls[i]->pocketed, balls[i]->number != 8);
    EXPECT_EQ(referee.solidsRemaining + referee.stripesRemaining, 0);
    EXPECT_EQ(referee.firstPocketed, balls[3]->number);
    camera->addOrbit(-12.0, 49.0, 30.0);
    balls[0]->position = Vec3(7.5, 1.0, -19.0);
    for (int i = 0; i < 40; ++i) keyboard(' ', 0, 0);
    keyboardUp(' ', 0, 0);
    strokeIdle();
    special(GLUT_KEY_F10, 0, 0);
    EXPECT_EQ(installedIdle(), nullptr);
    EXPECT_EQ(referee.playState, PlayState::Aiming);
    EXPECT_EQ(referee.tableState, TableState::BreakShot);
    EXPECT_FALSE(balls[1]->pocketed);
    EXPECT_EQ(xyz(balls[0]->position), (Xyz{0, 1, 22}));
    EXPECT_EQ((std::array{cue->angle, cue->elevation, cue->pull, cue->position.z}), (std::array{0., 10., 0., 22.}));
    const LookAt view = camera->orbitView(); // 80 units behind the cue ball, 22 degrees up
    expectNear(xyz(view.eye), {0, 30.97, 96.17}, 0.005);
    EXPECT_EQ(xyz(view.centre), (Xyz{0, 1, 22}));
}

TEST_F(KeyboardTest, EscapeEndsTheGameWithStatusZero) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fork would share the X connection
    referee.playState = PlayState::GameOver;
    EXPECT_EXIT((checkLeaksBeforeTheDriverUnloads(), keyboard(27, 0, 0)), testing::ExitedWithCode(0), "");
}

// Each space event draws the cue back one unit, up to exactly 100; the release fixes the power
// and the stroke takes a tenth of the pull per frame: ten frames, or eleven when rounding leaves
// a sliver (1 - 10 x 0.1 > 0), then the strike.
TEST_F(KeyboardTest, TheChargeTheReleaseAndTheStrokeStrikeAtThePull) {
    const struct {
        int events, frames;
        double power;
    } cases[] = {{0, 0, 0}, {1, 11, 1}, {3, 11, 3}, {30, 10, 30}, {100, 10, 100}, {120, 10, 100}};
    for (const auto& c : cases) {
        startPlay();
        for (int i = 0; i < c.events; ++i) keyboard(' ', 0, 0);
        keyboardUp('z', 0, 0);
        EXPECT_EQ(installedIdle(), nullptr);
        keyboardUp(' ', 0, 0);
        int frames = 0;
        for (; cue->pull > 0.0 && frames < 20; ++frames) strokeIdle();
        EXPECT_EQ(frames, c.frames) << c.events << " events";
        EXPECT_EQ(redisplayRequests, c.power + c.frames) << c.events << " events";
        strokeIdle(); // the striking frame
        EXPECT_EQ(referee.playState, PlayState::Shooting);
        EXPECT_EQ(installedIdle(), &simulationIdle);
        EXPECT_EQ(-balls[0]->velocity.z, c.power) << c.events << " events";
        EXPECT_EQ(cue->pull + cue->power + cue->strokeStep, 0.0);
    }
}

// The contacts a frame prints reach the output at once; the camera waits for the shot's end.
TEST_F(KeyboardTest, TheShotRunsUntilEveryBallStopsThenTheViewAndCueFollowTheCueBall) {
    std::printf("Contacts in the first half second of the break: ");
    special(GLUT_KEY_F8, 0, 0);
    setNextFrameTime(0.5); // the cue ball meets the apex ball after about 0.42 s
    simulationIdle();
    EXPECT_EQ(__fpending(stdout), 0u);
    EXPECT_EQ(installedIdle(), &simulationIdle);
    EXPECT_EQ(camera->targetZ, 22.0);
    for (Ball* ball : balls) ball->velocity = ball->acceleration = Vec3();
    balls[0]->position = Vec3(3.0, 1.0, 5.0);
    simulationIdle();
    EXPECT_EQ(installedIdle(), nullptr);
    EXPECT_EQ(referee.currentPlayerNumber(), 2); // nothing dropped: the turn passes
    EXPECT_EQ((Xyz{camera->targetX, camera->targetY, camera->targetZ}), (Xyz{3, 1, 5}));
    EXPECT_EQ(xyz(cue->position), (Xyz{3, 1, 5}));
    EXPECT_TRUE(cue->visible);
}

// Mended: F1 to F8 used to strike a cue ball lying in a pocket, below the table, and the shot
// then ran on for a long while after every ball on the table had stopped.
TEST_F(KeyboardTest, F1ToF8LeaveACueBallInAPocketAndTheShotEndsWithTheTable) {
    cue->angle = 2.0;
    special(GLUT_KEY_F8, 0, 0); // a break on which the cue ball drops while others still roll
    auto frame = [] { // one frame of 1/60 s of the running shot
        setNextFrameTime(1.0 / 60.0);
        simulationIdle();
    };
    for (int n = 0; n < 600 && !balls[0]->pocketed; ++n) frame();
    ASSERT_TRUE(balls[0]->pocketed);
    ASSERT_EQ(referee.playState, PlayState::Shooting);
    special(GLUT_KEY_F8, 0, 0);
    EXPECT_EQ(balls[0]->velocity.length(), 0.0);
    auto tableMoves = [] {
        for (const Ball* ball : balls)
            if (!ball->pocketed && ball->velocity.length() > 0.0) return true;
        return false;
    };
    while (tableMoves()) frame();
    EXPECT_EQ(installedIdle(), nullptr); // ended on the frame the table came to rest
    EXPECT_EQ(referee.playState, PlayState::PlacingCueBall);
    EXPECT_EQ(referee.currentPlayerNumber(), 2);
}
} // namespace
