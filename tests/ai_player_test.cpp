// The computer player's choices on fixed layouts, its search on copies, and headless matches
// with their replay.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ai/computer_player.h"
#include "ai/geometry.h"
#include "ai/match.h"
#include "ai/straight_player.h"
#include "game_state_expect.h"
#include "render/headless.h"
#include "sim/simulation.h"

namespace {
struct Spot {
    int number; // ball number
    double x, z;
};

// Every object ball pocketed but those listed; the cue ball at (cueX, cueZ); groups assigned,
// player 1 (solids) at the table; the cue ball's last turn not yet folded into its orientation.
// Returns the layout saved.
GameState layOut(HeadlessGame& game, double cueX, double cueZ, std::initializer_list<Spot> spots) {
    game.reset();
    Referee& r = game.referee;
    r.solidsRemaining = r.stripesRemaining = 0;
    for (Ball* ball : game.balls) {
        ball->pocketed = ball->number != 0;
        if (ball->pocketed) ball->position.y = -2.0; // below the felt, where pockets drop balls
        for (const Spot& s : spots) {
            if (s.number != ball->number) continue;
            ball->pocketed = false;
            ball->position = Vec3(s.x, RESTING_HEIGHT, s.z);
            r.solidsRemaining += Referee::groupOf(s.number) == BallGroup::Solids;
            r.stripesRemaining += Referee::groupOf(s.number) == BallGroup::Stripes;
        }
    }
    game.balls[0]->position = Vec3(cueX, RESTING_HEIGHT, cueZ);
    game.balls[0]->rotation = Vec3(0.1, 0.0, 0.2);
    r.tableState = TableState::GroupsAssigned;
    r.players[0].group = BallGroup::Solids;
    r.players[1].group = BallGroup::Stripes;
    r.players[0].onEightBall = r.solidsRemaining == 0;
    return GameState::save(game.balls, game.referee);
}

const Ball& ballNumbered(const GameState& state, int number) {
    for (const Ball& ball : state.balls)
        if (ball.number == number) return ball;
    return state.balls[0];
}

// The game's usual frame times and the extremes the window meets.
constexpr double FRAME_TIMES[] = {1.0 / 60.0, 1.0 / 30.0, 1.0 / 144.0};

std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, n);
    return text;
}
} // namespace

// Layouts where one shot is plainly right, and what must come of the chosen shot. The search
// plays on copies: the real balls and referee stay as they were, field by field, and it prints
// nothing.
TEST(ComputerChoice, PlaysTheObviousShotOfEachLayoutSilentlyOnCopies) {
    struct Case {
        const char* name;
        double cueX, cueZ;
        std::initializer_list<Spot> spots;
        bool wins; // the game is won; otherwise the solid drops and player 1 keeps the table
    };
    const Case cases[] = {
        // The 3 on the lip of the corner pocket at -x, -z; the 8 and a stripe far away.
        {"hanging solid", 0.0, 0.0, {{3, -20.0, -42.0}, {8, 15.0, 30.0}, {12, 18.0, -10.0}}, false},
        // The same with only the eight left to player 1: it goes for the eight and wins.
        {"only the eight", 0.0, 0.0, {{8, -20.0, -42.0}, {12, 18.0, -10.0}}, true},
        // A solid hanging at the side pocket at +x, the cue ball across the table.
        {"side pocket", -10.0, 5.0, {{5, 21.0, 0.5}, {8, -15.0, -30.0}, {9, 0.0, 30.0}}, false},
    };
    HeadlessGame game;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const GameState state = layOut(game, c.cueX, c.cueZ, c.spots);
        testing::internal::CaptureStdout();
        testing::internal::CaptureStderr();
        const ShotPlan plan = ComputerPlayer(3).choose(state, game.table);
        EXPECT_EQ(testing::internal::GetCapturedStdout() + testing::internal::GetCapturedStderr(),
                  "");
        expectAsSaved(state, game.balls, game.referee);
        EXPECT_FALSE(plan.placesCueBall);
        for (const double dt : FRAME_TIMES) {
            const GameState after = playTrial(state, game.table, plan, dt);
            const Referee& r = after.referee;
            EXPECT_TRUE(c.wins ? r.isGameOver() && r.winner == 0
                               : ballNumbered(after, c.spots.begin()->number).pocketed &&
                                     r.currentPlayer == 0 && r.playState == PlayState::Aiming)
                << "dt " << dt;
        }
    }
}

// The 1 cut at 45 degrees into the foot corner at -x sends the cue ball at the same speed the
// same distance into the foot corner at +x: the pot scratches at every power, so the computer
// plays something else.
TEST(ComputerChoice, DoesNotPlayAPotThatScratches) {
    HeadlessGame game;
    const double h = std::sqrt(2.0);
    const GameState state =
        layOut(game, 0.0, 10.0, {{1, -h, -22.0 - h}, {8, 15.0, 30.0}, {12, 18.0, 10.0}});
    const Vec3 cue = state.balls[0].position;
    ShotPlan pot;
    pot.angle = aimAngle(cue, potLine(cue, ballNumbered(state, 1), 0).ghost);
    for (const double power : {20.0, 30.0, 40.0}) {
        pot.power = power;
        const GameState after = playTrial(state, game.table, pot, 1.0 / 60.0);
        ASSERT_TRUE(ballNumbered(after, 1).pocketed && after.referee.isPlacingCueBall())
            << "the layout's pot must scratch at power " << power;
    }
    const ShotPlan plan = ComputerPlayer(3).choose(state, game.table);
    for (const double dt : FRAME_TIMES)
        EXPECT_FALSE(playTrial(state, game.table, plan, dt).referee.isPlacingCueBall()) << dt;
}

// Ball in hand among crowded balls: every player's spot is free, and the straight-shot player
// takes the start spot or the nearest free spot on the centre line.
TEST(ComputerChoice, PlacesTheBallInHandOnAFreeSpot) {
    struct Case {
        const char* name;
        std::initializer_list<Spot> spots;
        double straightZ; // the straight-shot player's spot on the centre line
    };
    const Case cases[] = {
        {"start spot free", {{2, -10.0, -30.0}, {8, 10.0, 30.0}, {11, 5.0, 5.0}}, 22.0},
        {"start spot taken", {{2, 0.0, 22.0}, {8, 0.0, 20.0}, {11, 0.5, 24.0}}, 17.75},
        {"crowded pocket", {{4, -20, -42}, {9, -17, -39}, {10, -17.5, -42}, {8, -20, -38.5}}, 22},
    };
    HeadlessGame game;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        layOut(game, 0.0, 0.0, c.spots);
        game.referee.giveBallInHand();
        const GameState state = GameState::save(game.balls, game.referee);
        const ShotPlan straight = StraightShotPlayer().choose(state, game.table);
        EXPECT_TRUE(straight.spot.x == 0.0 && straight.spot.z == c.straightZ);
        for (const ShotPlan& plan : {ComputerPlayer(3).choose(state, game.table), straight}) {
            ASSERT_TRUE(plan.placesCueBall);
            for (const Ball& ball : state.balls) {
                const Vec3 d = ball.position - plan.spot;
                EXPECT_TRUE(ball.pocketed || ball.number == 0 || std::hypot(d.x, d.z) > 2.0)
                    << "ball " << ball.number;
            }
        }
    }
}

// A few whole games end with winners; the log plays them again to the same output, byte for
// byte; a log that does not fit the game is refused.
TEST(HeadlessMatch, GamesEndAndTheLogReplaysThemExactly) {
    HeadlessGame game;
    const MatchSettings settings{3, 11, {"3", "straight"}};
    LiveShots live(settings);
    std::FILE *out = std::tmpfile(), *log = std::tmpfile(), *again = std::tmpfile();
    std::string error;
    ASSERT_TRUE(runMatch(settings, live, game.balls, game.table, game.referee, out, log, error))
        << error;
    const std::string played = readAll(out);
    EXPECT_EQ(played.find("no winner"), std::string::npos) << played;
    EXPECT_NE(played.find("game 3: player"), std::string::npos) << played;

    MatchSettings read;
    const auto replay = [&](std::FILE* from) { // the whole log played, its shots used up
        std::rewind(from);
        LoggedShots logged(from);
        return readMatchHeader(from, read) &&
               runMatch(read, logged, game.balls, game.table, game.referee, again, nullptr,
                        error) &&
               logged.atEnd();
    };
    ASSERT_TRUE(replay(log)) << error;
    EXPECT_TRUE(read.games == 3 && read.seed == 11u);
    EXPECT_EQ(readAll(again), played);

    // The same log with the second shot given to the other player.
    std::string text = readAll(log);
    const std::string SECOND = "game=1 shot=2 player=";
    const std::string::size_type second = text.find(SECOND);
    ASSERT_NE(second, std::string::npos);
    char& player = text[second + SECOND.size()];
    player = player == '1' ? '2' : '1';
    std::FILE* bad = fmemopen(&text[0], text.size(), "r");
    EXPECT_FALSE(replay(bad));
    EXPECT_NE(error.find("is not at the table"), std::string::npos) << error;
    for (std::FILE* file : {out, log, again, bad}) std::fclose(file);
}

TEST(HeadlessMatch, PlayerNames) {
    for (const char* name : {"1", "2", "3", "straight"})
        EXPECT_NE(makePlayer(name), nullptr) << name;
    for (const char* name : {"0", "4", "", "Straight", "33", "level 3"})
        EXPECT_EQ(makePlayer(name), nullptr) << name;
}
