// The mouse through its GLUT callbacks: the drag that aims, strokes or is let go, the click that
// places the ball in hand, the wheel, and the computer's turn and a replay, where only the wheel
// acts.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include "app/computer.h"
#include "app/mouse.h"
#include "app/objects.h"
#include "app/options.h"
#include "app/placement.h"
#include "app/replay.h"
#include "app/shell.h"
#include "app/shot.h"
#include "game_test_util.h"
#include "render/camera.h"
#include "render/cue.h"

namespace {
void press(int x, int y) { mouse(GLUT_LEFT_BUTTON, GLUT_DOWN, x, y); }

// Pressed at (400, 300) of 800x600: 0.1 degree a pixel sideways; from 12 pixels down, 100 units of
// pull in 150 pixels (pull 58 at 400, 45 at 380, 52 at 390), the aim held meanwhile; up past 300
// strikes at the pull the cue last went forward from. A motion after the release, or after the
// strike, does nothing.
TEST(Mouse, ADragAimsOrStrokesAndItsReleaseLetsGoOfTheCueAtRest) {
    const struct {
        std::vector<std::pair<int, int>> moves;
        bool release;
        std::array<double, 2> angleAndSpeed;
        PlayState state = PlayState::Aiming;
    } cases[] = {
        {{{450, 305}, {420, 298}}, true, {2, 0}},
        {{{400, 400}, {430, 380}, {400, 299}}, false, {0, 58}},
        {{{400, 400}, {400, 380}, {400, 390}, {390, 250}}, false, {0, 52}},
        {{{400, 470}, {400, 0}}, false, {0, 100}},
        {{{400, 400}, {400, 350}}, true, {0, 0}},
        {{{400, 311}, {350, 200}}, true, {-5, 0}},
        {{{450, 400}, {400, 200}}, false, {0, 0}, PlayState::Shooting},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << int(c.state) << ": " << c.moves.size() << " moves to "
                                        << c.moves[0].second);
        startPlay();
        game.referee.playState = c.state;
        press(400, 300);
        for (const auto& [x, y] : c.moves) mouseMotion(x, y);
        if (c.release) mouse(GLUT_LEFT_BUTTON, GLUT_UP, 0, 0);
        mouseMotion(600, 500);
        EXPECT_NEAR(cue->angle, c.angleAndSpeed[0], 1e-12);
        EXPECT_EQ(camera->azimuth, cue->angle); // the view follows
        EXPECT_EQ(game.balls[0].velocity.length(), c.angleAndSpeed[1]);
        EXPECT_EQ(cue->pull + cue->power, 0.0);
        EXPECT_EQ(installedIdle(), c.angleAndSpeed[1] > 0 ? &simulationIdle : nullptr);
    }
}

// The spot under the pointer on the arrows' 0.25 grid, in windows taller and wider than the
// table: (7.5, -19) is free, (0, -22) the apex ball's, refused and shown; off the cloth nothing.
TEST(Mouse, AClickPlacesTheBallInHandUnderThePointerOrIsRefusedOnABall) {
    const struct {
        int width, height, x, y;
        std::array<double, 3> spot;
        PlayState state;
    } cases[] = {
        {800, 600, 552, 284, {7.5, 1, -19}, PlayState::Aiming},
        {1000, 400, 492, 253, {7.5, 1, -19}, PlayState::Aiming},
        {800, 600, 576, 224, {0, 3, -22}, PlayState::PlacingCueBall},
        {800, 600, 400, 590, {0, 3, 0}, PlayState::PlacingCueBall},
    };
    for (const auto& c : cases) {
        giveBallInHand();
        reshape(c.width, c.height);
        press(c.x, c.y);
        EXPECT_EQ(xyz(game.balls[0].position), c.spot) << c.x << ", " << c.y;
        EXPECT_EQ(game.referee.playState, c.state);
        EXPECT_EQ(placementRefused(), c.spot[2] == -22);
    }
}

// On the computer's turn with the ball in hand a click through its filter, or a replay's, places
// nothing; the wheel zooms through either, on its press alone.
TEST(Mouse, DuringTheComputersTurnOrAReplayOnlyTheWheelActs) {
    giveBallInHand();
    startComputer(seats(true, false, 3));
    for (auto callback : {computerMouse, replayMouse}) {
        callback(GLUT_LEFT_BUTTON, GLUT_DOWN, 552, 284);
        callback(WHEEL_UP, GLUT_DOWN, 0, 0);
        callback(WHEEL_UP, GLUT_UP, 0, 0);
    }
    mouse(WHEEL_DOWN, GLUT_DOWN, 0, 0);
    EXPECT_EQ(camera->distance, 79.0);
    EXPECT_TRUE(game.referee.isPlacingCueBall());
    startComputer(Options{});
}
} // namespace
