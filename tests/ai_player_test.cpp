// The computer player's choices on fixed layouts, its search on copies, and headless matches
// with their replay.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "ai/computer_player.h"
#include "ai/geometry.h"
#include "ai/match.h"
#include "ai/straight_player.h"
#include "game_test_util.h"
#include "sim/game.h"

namespace {
// The game's usual frame times and the extremes the window meets.
constexpr double FRAME_TIMES[] = {1.0 / 60.0, 1.0 / 30.0, 1.0 / 144.0};

std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    for (int c; (c = std::fgetc(file)) != EOF;) text += char(c);
    return text;
}
} // namespace

// Ball in hand never lands on a ball or off the placement area; the straight-shot player takes
// the start spot or, with a ball on it, the nearest free spot on the centre line, and pots from it.
TEST(BallInHand, SpotsAreFreeAndTheStraightShotPlayerPotsFromTheNearestToTheStart) {
    Game game;
    layOut(game, 10.0, -10.0, {{1, 1.9, 5.0}, {10, 0.0, 22.0}, {8, 10.0, -20.0}});
    // The 1 and the 10 at indexes 1 and 2.
    const double spots[][3] = {{10, -10, 1},   {21, -30, 1},    {21.25, -30, 0}, {0, 43, 1},
                               {0, -43.25, 0}, {1.9, 7.125, 0}, {1.9, 7.25, 1}};
    for (const auto& spot : spots)
        EXPECT_EQ(spotFree(game, spot[0], spot[1]), spot[2] == 1) << spot[0] << " " << spot[1];
    game.balls[2].position.z = 30.0; // the start spot free, it is taken
    EXPECT_EQ(startSpotOrNearestFree(game).z, 22.0);
    game.balls[2].position.z = 22.0;
    game.referee.giveBallInHand();
    const Game inHand = game;
    const ShotPlan plan = StraightShotPlayer().choose(inHand);
    const Game after = playTrial(inHand, plan, 1.0 / 60.0);
    EXPECT_EQ(xyz(plan.spot), (Xyz{0, 1, 19.75})); // the 10 on the start spot: 2.25 nearer the rack
    EXPECT_TRUE(after.balls[1].pocketed && !after.referee.currentPlayer);
}

// The 1 cut at 45 degrees into the foot corner at -x sends the cue ball at the same speed the
// same distance into the foot corner at +x: the pot scratches at every power, so the computer
// plays something else.
TEST(ComputerChoice, DoesNotPlayAPotThatScratches) {
    Game game;
    const double h = std::sqrt(2.0);
    const Game state =
        layOut(game, 0.0, 10.0, {{1, -h, -22.0 - h}, {8, 15.0, 30.0}, {12, 18.0, 10.0}});
    const Vec3 cue = state.balls[0].position;
    ShotPlan pot;
    pot.angle = aimAngle(cue, potLine(cue, state.balls[1], 0).ghost);
    for (const double power : {20.0, 30.0, 40.0}) {
        pot.power = power;
        const Game after = playTrial(state, pot, 1.0 / 60.0);
        ASSERT_TRUE(after.balls[1].pocketed && after.referee.isPlacingCueBall())
            << "the layout's pot must scratch at power " << power;
    }
    const ShotPlan plan = ComputerPlayer(3).choose(state);
    for (const double dt : FRAME_TIMES)
        EXPECT_FALSE(playTrial(state, plan, dt).referee.isPlacingCueBall()) << dt;
}

// Three whole games as played; the log plays them again to the same output, byte for byte; a
// log without its header lines is refused (pool-sim's test refuses damaged lines).
TEST(HeadlessMatch, GamesEndAndTheLogReplaysThemExactly) {
    Game game;
    const MatchSettings settings{3, 11, {"3", "straight"}};
    LiveShots live(settings);
    std::FILE *out = std::tmpfile(), *log = std::tmpfile(), *again = std::tmpfile();
    std::string error;
    ASSERT_TRUE(runMatch(settings, live, game, out, log, error)) << error;
    const std::string played = readAll(out);
    // The match as played, but for the decision times: any change to either player, the
    // simulation or the rules shows here.
    std::string shown = played;
    for (std::string::size_type at; (at = shown.find(", decision time")) != std::string::npos;)
        shown.erase(at, shown.find('\n', at) - at);
    EXPECT_EQ(shown,
              "game 1: player 1 won; shots 8 and 0; the eight pocketed; a run-out\n"
              "game 2: player 1 won; shots 8 and 2; the eight pocketed\n"
              "game 3: player 1 won; shots 9 and 5; the eight pocketed too early\n"
              "totals of 3 games: player 1 (level 3) 3 wins, player 2 (straight shots) 0 wins, 0 "
              "without a winner; run-outs 1 (33.3%); longest game 14 shots\n"
              "player 1 (level 3): kept the table on 91.3% of 23 shots after the break, scratched "
              "on 0.0% of 25 shots\n"
              "player 2 (straight shots): kept the table on 50.0% of 6 shots after the break, "
              "scratched on 0.0% of 7 shots\n");

    MatchSettings read;
    const auto replay = [&](std::FILE* from) { // the whole log played, its shots used up
        std::rewind(from);
        RecordReader reader(from);
        LoggedShots logged(reader);
        return readMatchHeader(reader, read, error) &&
               runMatch(read, logged, game, again, nullptr, error) && logged.atEnd();
    };
    ASSERT_TRUE(replay(log)) << error;
    EXPECT_EQ(readAll(again), played);
    std::FILE* empty = std::tmpfile();
    RecordReader emptyReader(empty);
    EXPECT_FALSE(readMatchHeader(emptyReader, read, error));
    for (std::FILE* file : {out, log, again, empty}) std::fclose(file);
}
