// The keys and the play states: admission, dispatch, arrow steps, new game and clear table.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/camera.h"
#include "app/keyboard.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app_play_test_util.h"
#include "render/cue.h"
#include "sim/ball.h"
#include "sim/referee.h"

namespace {
constexpr char ESCAPE = 27;
constexpr char ENTER = 13;
const int MODIFIER_KEYS[] = {GLUT_KEY_SHIFT_L, GLUT_KEY_SHIFT_R, GLUT_KEY_CTRL_L,
                             GLUT_KEY_CTRL_R,  GLUT_KEY_ALT_L,   GLUT_KEY_ALT_R};

class KeyboardTest : public testing::Test {
protected:
    void SetUp() override { startPlay(); }
};

// What a key changed: the camera's orbit, the cue's aim and pull, the cue ball's spot.
struct Snapshot {
    double distance, azimuth, elevation, angle, pull;
    Vec3 cueBall;
    int playState;
};

Snapshot snapshot() {
    return {camera->distance, camera->azimuth,         camera->elevation, cue->angle,
            cue->pull,        balls[0]->position, referee.playState};
}

bool unchanged(const Snapshot& a, const Snapshot& b) {
    return a.distance == b.distance && a.azimuth == b.azimuth && a.elevation == b.elevation &&
           a.angle == b.angle && a.pull == b.pull && a.cueBall.x == b.cueBall.x &&
           a.cueBall.y == b.cueBall.y && a.cueBall.z == b.cueBall.z && a.playState == b.playState;
}

void enterState(int state) {
    if (state == PlacingCueBall) referee.giveBallInHand();
    referee.playState = state;
}

// A key the state refuses changes nothing and asks for no redisplay.
void expectRefused(int state, unsigned char key) {
    enterState(state);
    const Snapshot before = snapshot();
    redisplayRequests = 0;
    keyboard(key, 0, 0);
    EXPECT_TRUE(unchanged(before, snapshot())) << "state " << state << " key " << int(key);
    EXPECT_EQ(redisplayRequests, 0) << "state " << state << " key " << int(key);
}

void expectSpecialRefused(int state, int key) {
    enterState(state);
    const Snapshot before = snapshot();
    redisplayRequests = 0;
    special(key, 0, 0);
    EXPECT_TRUE(unchanged(before, snapshot())) << "state " << state << " key " << key;
    EXPECT_EQ(redisplayRequests, 0) << "state " << state << " key " << key;
}

TEST_F(KeyboardTest, AimingAdmitsEveryKey) {
    keyboard(' ', 0, 0);
    EXPECT_EQ(cue->pull, 1.0);
    keyboard('z', 0, 0);
    EXPECT_EQ(camera->distance, 79.0);
    keyboard('x', 0, 0);
    keyboard('x', 0, 0);
    EXPECT_EQ(camera->distance, 81.0);
    redisplayRequests = 0;
    special(GLUT_KEY_RIGHT, 0, 0);
    EXPECT_EQ(camera->azimuth, 0.5);
    EXPECT_EQ(cue->angle, 0.5);
    EXPECT_EQ(redisplayRequests, 1);
}

TEST_F(KeyboardTest, ShootingAdmitsZoomAndEscapeAndEverySpecialKeyButF9AndF10) {
    for (unsigned char key : {' ', ENTER, 'a', 'Z', 'X'}) expectRefused(Shooting, key);
    for (int key : {GLUT_KEY_F9, GLUT_KEY_F10}) expectSpecialRefused(Shooting, key);
    keyboard('z', 0, 0);
    EXPECT_EQ(camera->distance, 79.0);
    // Left and Right still turn the view and the hidden cue: the next shot follows the new line.
    special(GLUT_KEY_LEFT, 0, 0);
    EXPECT_EQ(camera->azimuth, -0.5);
    EXPECT_EQ(cue->angle, -0.5);
    special(GLUT_KEY_UP, 0, 0);
    EXPECT_EQ(camera->elevation, 22.5);
    EXPECT_EQ(cue->angle, -0.5);
}

TEST_F(KeyboardTest, PlacingAdmitsZoomEscapeEnterAndEverySpecialKey) {
    for (unsigned char key : {' ', 'a', 'Z'}) expectRefused(PlacingCueBall, key);
    keyboard('x', 0, 0);
    EXPECT_EQ(camera->distance, 81.0); // shows only once the placement screen is gone
    keyboard(ENTER, 0, 0);
    EXPECT_EQ(referee.playState, Aiming); // the free centre spot is accepted
}

TEST_F(KeyboardTest, GameOverAdmitsOnlyEscapeAndF10) {
    for (unsigned char key : {' ', ENTER, 'z', 'x'}) expectRefused(GameOver, key);
    for (int key : {GLUT_KEY_F1, GLUT_KEY_F8, GLUT_KEY_F9, GLUT_KEY_F11, GLUT_KEY_F12,
                    GLUT_KEY_LEFT, GLUT_KEY_UP, GLUT_KEY_CTRL_L})
        expectSpecialRefused(GameOver, key);
    special(GLUT_KEY_F10, 0, 0);
    EXPECT_EQ(referee.playState, Aiming);
}

TEST_F(KeyboardTest, AStateOutsideTheFourAdmitsNothing) {
    for (unsigned char key : {' ', 'z', ESCAPE}) expectRefused(7, key);
    for (int key : {GLUT_KEY_F1, GLUT_KEY_F10, GLUT_KEY_LEFT}) expectSpecialRefused(7, key);
}

TEST_F(KeyboardTest, EscapeEndsTheGameWithStatusZeroEvenWhenItIsOver) {
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fork would share the X connection
    referee.playState = GameOver;
    EXPECT_EXIT(
        {
            checkLeaksBeforeTheDriverUnloads(); // as the game does: a sanitized exit stays 0
            keyboard(ESCAPE, 0, 0);
        },
        testing::ExitedWithCode(0), "");
}

TEST_F(KeyboardTest, LettersAreCaseSensitiveAndOtherKeysDoNothing) {
    const Snapshot before = snapshot();
    redisplayRequests = 0;
    for (unsigned char key : {'Z', 'X', 'a', '\t'}) keyboard(key, 0, 0);
    keyboard(ENTER, 0, 0); // Enter outside ball in hand
    EXPECT_TRUE(unchanged(before, snapshot()));
    EXPECT_EQ(redisplayRequests, 0);
}

TEST_F(KeyboardTest, ModifierAndUnboundSpecialKeysOnlyRedraw) {
    for (int state : {Aiming, Shooting, PlacingCueBall}) {
        enterState(state);
        const Snapshot before = snapshot();
        for (int key : MODIFIER_KEYS) {
            redisplayRequests = 0;
            special(key, 0, 0);
            EXPECT_EQ(redisplayRequests, 1) << "state " << state << " key " << key;
        }
        for (int key : {GLUT_KEY_F12, GLUT_KEY_PAGE_UP, GLUT_KEY_PAGE_DOWN, GLUT_KEY_HOME,
                        GLUT_KEY_END, GLUT_KEY_INSERT}) {
            redisplayRequests = 0;
            special(key, 0, 0);
            EXPECT_EQ(redisplayRequests, 1) << "state " << state << " key " << key;
        }
        EXPECT_TRUE(unchanged(before, snapshot())) << "state " << state;
        EXPECT_EQ(installedIdle(), nullptr);
    }
}

// The modifiers come from the X event as GLUT reports it to the callback.
TEST_F(KeyboardTest, ArrowKeysThroughTheWindowSystemTakeTheirStepFromTheModifiers) {
    tapKey(KEYSYM_RIGHT);
    EXPECT_EQ(cue->angle, 0.5);
    tapKey(KEYSYM_RIGHT, X_CTRL);
    EXPECT_EQ(cue->angle, 1.5);
    tapKey(KEYSYM_RIGHT, X_ALT);
    EXPECT_EQ(cue->angle, 31.5);
    tapKey(KEYSYM_LEFT, X_CTRL | X_ALT);
    EXPECT_EQ(cue->angle, 30.5);
    tapKey(KEYSYM_LEFT, X_SHIFT);
    EXPECT_EQ(cue->angle, 30.0);
    EXPECT_EQ(camera->azimuth, 30.0); // the view stays behind the shot line
    tapKey(KEYSYM_DOWN, X_ALT);
    EXPECT_EQ(camera->elevation, -8.0);
    EXPECT_EQ(cue->angle, 30.0);
}

TEST_F(KeyboardTest, ACtrlKeyPressedAloneReachesSpecialAndOnlyRedraws) {
    const Snapshot before = snapshot();
    redisplayRequests = 0;
    sendKey(KEYSYM_CONTROL_L, 0, true);
    sendKey(KEYSYM_CONTROL_L, X_CTRL, false);
    EXPECT_TRUE(unchanged(before, snapshot()));
    EXPECT_EQ(redisplayRequests, 1);
}

TEST_F(KeyboardTest, F1ToF8StrikeAtTheirPowersWithoutTouchingTheCharge) {
    for (int i = 0; i < 8; ++i) {
        startPlay();
        cue->pull = 7.0;
        cue->power = 3.0;
        cue->strokeStep = 0.7;
        special(GLUT_KEY_F1 + i, 0, 0);
        EXPECT_EQ(referee.playState, Shooting);
        EXPECT_EQ(installedIdle(), &simulationIdle);
        EXPECT_EQ(balls[0]->velocity.z, -FIXED_POWERS[i]) << "F" << i + 1;
        EXPECT_EQ(cue->pull, 7.0);
        EXPECT_EQ(cue->power, 3.0);
        EXPECT_EQ(cue->strokeStep, 0.7);
    }
}

TEST_F(KeyboardTest, F1ToF8DuringAShotStrikeTheMovingCueBallAgain) {
    special(GLUT_KEY_F1, 0, 0);
    setNextFrameTime(0.5);
    simulationIdle();
    const Vec3 movedTo = balls[0]->position;
    ASSERT_LT(movedTo.z, 22.0);
    cue->angle = 90.0;
    special(GLUT_KEY_F8, 0, 0);
    EXPECT_EQ(referee.playState, Shooting);
    EXPECT_NEAR(balls[0]->velocity.x, -100.0, 1e-12);
    EXPECT_EQ(balls[0]->position.z, movedTo.z); // struck from where it rolled to
}

TEST_F(KeyboardTest, F11PocketsEveryObjectBallButTheEightAndReportsEachOnce) {
    balls[3]->pocketed = true; // dropped earlier this shot, already reported
    referee.ballPocketed(balls[3]->number);
    special(GLUT_KEY_F11, 0, 0);
    special(GLUT_KEY_F11, 0, 0);
    for (int i = 1; i < BALL_COUNT; ++i)
        EXPECT_EQ(balls[i]->pocketed, balls[i]->number != 8) << "ball " << balls[i]->number;
    EXPECT_EQ(referee.solidsRemaining, 0);
    EXPECT_EQ(referee.stripesRemaining, 0);
    EXPECT_EQ(referee.firstPocketed, balls[3]->number);
    EXPECT_EQ(referee.playState, Aiming);
    EXPECT_EQ(balls[1]->position.z, -22.0); // left where they lie
    // Judged at the end of the next shot like any other pocketing: the break opens the table.
    special(GLUT_KEY_F1, 0, 0);
    ASSERT_GT(runIdle(), 0);
    EXPECT_EQ(referee.playState, Aiming);
    EXPECT_EQ(referee.currentPlayer, 0);
}

TEST_F(KeyboardTest, F11WhilePlacingOrShootingLeavesThePlayState) {
    for (int state : {Shooting, PlacingCueBall}) {
        startPlay();
        enterState(state);
        special(GLUT_KEY_F11, 0, 0);
        EXPECT_EQ(referee.playState, state);
    }
}

TEST_F(KeyboardTest, F10FromGameOverRestoresTheStartUpCameraCueAndRack) {
    special(GLUT_KEY_F11, 0, 0);
    cue->angle = 49.0;
    camera->addOrbit(-12.0, 49.0, 30.0);
    balls[0]->position = Vec3(7.5, 1.0, -19.0);
    special(GLUT_KEY_F7, 0, 0);
    ASSERT_GT(runIdle(), 0);
    ASSERT_EQ(referee.playState, GameOver); // the eight dropped on an open table
    special(GLUT_KEY_F10, 0, 0);
    EXPECT_EQ(referee.playState, Aiming);
    EXPECT_EQ(referee.currentPlayer, 0);
    EXPECT_EQ(referee.tableState, BreakShot);
    for (int i = 0; i < BALL_COUNT; ++i) {
        EXPECT_FALSE(balls[i]->pocketed);
        EXPECT_EQ(balls[i]->position.x, double(rack[i].position[0]));
        EXPECT_EQ(balls[i]->position.y, double(rack[i].position[1]));
        EXPECT_EQ(balls[i]->position.z, double(rack[i].position[2]));
        EXPECT_EQ(balls[i]->velocity.length(), 0.0);
    }
    EXPECT_EQ(camera->distance, 80.0);
    EXPECT_EQ(camera->azimuth, 0.0);
    EXPECT_EQ(camera->elevation, 22.0);
    EXPECT_EQ(camera->targetZ, 22.0);
    EXPECT_EQ(camera->targetY, 1.0);
    EXPECT_EQ(cue->angle, 0.0);
    EXPECT_EQ(cue->elevation, 10.0);
    EXPECT_EQ(cue->pull, 0.0);
    EXPECT_TRUE(cue->visible);
    EXPECT_EQ(cue->position.z, 22.0);
}

TEST_F(KeyboardTest, F10FromBallInHandStartsANewGame) {
    enterState(PlacingCueBall);
    referee.currentPlayer = 1;
    special(GLUT_KEY_F10, 0, 0);
    EXPECT_EQ(referee.playState, Aiming);
    EXPECT_EQ(referee.currentPlayerNumber(), 1);
    EXPECT_EQ(balls[0]->position.y, 1.0);
}

// Mended: a stroke under way used to strike the fresh rack at power 0 and hand the break over.
TEST_F(KeyboardTest, F10DuringTheStrokeStartsTheNewGameWithoutAStrike) {
    for (int i = 0; i < 40; ++i) keyboard(' ', 0, 0);
    keyboardUp(' ', 0, 0);
    strokeIdle();
    special(GLUT_KEY_F10, 0, 0);
    EXPECT_EQ(installedIdle(), nullptr);
    EXPECT_EQ(referee.playState, Aiming);
    EXPECT_EQ(referee.tableState, BreakShot);
    EXPECT_EQ(referee.currentPlayerNumber(), 1);
}

// Mended: F1 to F8 used to strike a cue ball lying in a pocket, below the table, and the shot
// then ran on for a long while after every ball on the table had stopped.
TEST_F(KeyboardTest, F1ToF8LeaveACueBallInAPocketAndTheShotEndsWithTheTable) {
    cue->angle = 2.0;
    special(GLUT_KEY_F8, 0, 0); // a break on which the cue ball drops while others still roll
    for (int frame = 0; frame < 600 && !balls[0]->pocketed; ++frame) runIdle(1.0 / 60.0, 1);
    ASSERT_TRUE(balls[0]->pocketed);
    ASSERT_EQ(referee.playState, Shooting);
    special(GLUT_KEY_F8, 0, 0);
    EXPECT_EQ(balls[0]->velocity.length(), 0.0);
    auto tableMoves = [] {
        for (const Ball* ball : balls)
            if (!ball->pocketed && ball->velocity.length() > 0.0) return true;
        return false;
    };
    while (tableMoves()) ASSERT_NE(runIdle(1.0 / 60.0, 1), 0);
    EXPECT_EQ(installedIdle(), nullptr); // ended on the frame the table came to rest
    EXPECT_EQ(referee.playState, PlacingCueBall);
    EXPECT_EQ(referee.currentPlayerNumber(), 2);
}
} // namespace
