// The computer player's choices on fixed layouts, its search on copies, and headless matches
// with their replay.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "ai/computer_player.h"
#include "ai/geometry.h"
#include "ai/match.h"
#include "ai/straight_player.h"
#include "render/headless.h"
#include "sim/simulation.h"

namespace {
constexpr double OFF_TABLE = 100.0; // world units: a spot for balls taken off

struct Spot {
    int number; // ball number
    double x, z;
};

// Rack index of ball number n.
int indexOf(const HeadlessGame& game, int number) {
    for (int i = 0; i < BALL_COUNT; ++i)
        if (game.balls[i]->number == number) return i;
    return -1;
}

// Every object ball pocketed but those listed; the cue ball at (cueX, cueZ); groups assigned,
// player 1 (solids) at the table.
void layOut(HeadlessGame& game, double cueX, double cueZ, std::initializer_list<Spot> spots) {
    game.reset();
    for (Ball* ball : game.balls) {
        ball->pocketed = ball->number != 0;
        if (ball->pocketed) ball->position = Vec3(OFF_TABLE, -2.0, OFF_TABLE);
    }
    game.balls[0]->position = Vec3(cueX, RESTING_HEIGHT, cueZ);
    for (const Spot& s : spots) {
        Ball& ball = *game.balls[indexOf(game, s.number)];
        ball.pocketed = false;
        ball.position = Vec3(s.x, RESTING_HEIGHT, s.z);
    }
    Referee& r = game.referee;
    r.tableState = TableState::GroupsAssigned;
    r.players[0].group = BallGroup::Solids;
    r.players[1].group = BallGroup::Stripes;
    r.solidsRemaining = r.stripesRemaining = 0;
    for (const Spot& s : spots) {
        if (Referee::groupOf(s.number) == BallGroup::Solids) ++r.solidsRemaining;
        if (Referee::groupOf(s.number) == BallGroup::Stripes) ++r.stripesRemaining;
    }
    r.players[0].onEightBall = r.solidsRemaining == 0;
}

ShotPlan chooseLevel3(HeadlessGame& game) {
    ComputerPlayer player(3);
    player.newGame(1);
    return player.choose(GameState::save(game.balls, game.referee), game.table);
}

GameState outcome(HeadlessGame& game, const ShotPlan& plan, double dt) {
    return playTrial(GameState::save(game.balls, game.referee), game.table, plan, dt);
}

const Ball& ballNumbered(const GameState& state, int number) {
    for (const Ball& ball : state.balls)
        if (ball.number == number) return ball;
    return state.balls[0];
}

// The game's usual frame times and the extremes the window meets.
constexpr double FRAME_TIMES[] = {1.0 / 60.0, 1.0 / 30.0, 1.0 / 144.0};
} // namespace

// Layouts where one shot is plainly right, and what must come of the chosen shot.
TEST(ComputerChoice, PlaysTheObviousShotOfEachLayout) {
    struct Case {
        const char* name;
        double cueX, cueZ;
        std::initializer_list<Spot> spots;
        bool wins; // the game is won; otherwise the solid must drop and player 1 keep the table
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
        layOut(game, c.cueX, c.cueZ, c.spots);
        const ShotPlan plan = chooseLevel3(game);
        EXPECT_FALSE(plan.placesCueBall);
        for (const double dt : FRAME_TIMES) {
            const GameState after = outcome(game, plan, dt);
            EXPECT_FALSE(after.balls[0].pocketed) << "dt " << dt;
            if (c.wins) {
                EXPECT_TRUE(after.referee.isGameOver()) << "dt " << dt;
                EXPECT_EQ(after.referee.winner, 0) << "dt " << dt;
            } else {
                EXPECT_TRUE(ballNumbered(after, c.spots.begin()->number).pocketed) << "dt " << dt;
                EXPECT_EQ(after.referee.currentPlayer, 0) << "dt " << dt;
                EXPECT_EQ(after.referee.playState, PlayState::Aiming) << "dt " << dt;
            }
        }
    }
}

// The 1 cut at 45 degrees into the foot corner at -x sends the cue ball at the same speed the
// same distance into the foot corner at +x: the pot scratches at every power, so the computer
// plays something else.
TEST(ComputerChoice, DoesNotPlayAPotThatScratches) {
    HeadlessGame game;
    const double h = std::sqrt(2.0);
    layOut(game, 0.0, 10.0, {{1, -h, -22.0 - h}, {8, 15.0, 30.0}, {12, 18.0, 10.0}});
    const PotLine line = potLine(game.balls[0]->position, *game.balls[indexOf(game, 1)], 0);
    ShotPlan pot;
    pot.angle = aimAngle(game.balls[0]->position, line.ghost);
    for (const double power : {20.0, 30.0, 40.0}) {
        pot.power = power;
        const GameState after = outcome(game, pot, 1.0 / 60.0);
        ASSERT_TRUE(ballNumbered(after, 1).pocketed) << "power " << power;
        ASSERT_TRUE(after.referee.isPlacingCueBall()) << "the layout's pot must scratch";
    }
    const ShotPlan plan = chooseLevel3(game);
    for (const double dt : FRAME_TIMES)
        EXPECT_FALSE(outcome(game, plan, dt).referee.isPlacingCueBall()) << "dt " << dt;
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
        {"balls round the hanging ball",
         {{4, -20.0, -42.0}, {9, -17.0, -39.0}, {10, -17.5, -42.0}, {8, -20.0, -38.5}},
         22.0},
    };
    HeadlessGame game;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        layOut(game, 0.0, 0.0, c.spots);
        game.referee.giveBallInHand();
        const GameState state = GameState::save(game.balls, game.referee);
        ComputerPlayer computer(3);
        StraightShotPlayer straight;
        for (Player* player : {static_cast<Player*>(&computer), static_cast<Player*>(&straight)}) {
            const ShotPlan plan = player->choose(state, game.table);
            ASSERT_TRUE(plan.placesCueBall);
            for (int i = 1; i < BALL_COUNT; ++i) {
                if (game.balls[i]->pocketed) continue;
                const Vec3 d = game.balls[i]->position - plan.spot;
                EXPECT_GT(std::hypot(d.x, d.z), 2.0) << "ball " << game.balls[i]->number;
            }
        }
        const ShotPlan plan = straight.choose(state, game.table);
        EXPECT_EQ(plan.spot.x, 0.0);
        EXPECT_EQ(plan.spot.z, c.straightZ);
    }
}

// The search plays on copies: the real balls and referee are as they were, field by field, and
// nothing is printed.
TEST(ComputerSearch, LeavesTheRealGameUntouchedAndSilent) {
    HeadlessGame game;
    layOut(game, 3.0, 12.0, {{1, -20.0, -42.0}, {2, 5.0, -5.0}, {8, 15.0, 30.0}, {9, 18.0, 10.0}});
    game.balls[0]->rotation = Vec3(0.1, 0.0, 0.2);
    game.referee.firstPocketed = -1;
    const GameState before = GameState::save(game.balls, game.referee);
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    chooseLevel3(game);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    for (int i = 0; i < BALL_COUNT; ++i) {
        const Ball& a = before.balls[i];
        const Ball& b = *game.balls[i];
        SCOPED_TRACE("ball " + std::to_string(a.number));
        for (const auto field : {&Ball::position, &Ball::velocity, &Ball::acceleration,
                                 &Ball::rotation, &Ball::angularVelocity,
                                 &Ball::angularAcceleration}) {
            EXPECT_EQ((a.*field).x, (b.*field).x);
            EXPECT_EQ((a.*field).y, (b.*field).y);
            EXPECT_EQ((a.*field).z, (b.*field).z);
        }
        EXPECT_EQ(std::memcmp(a.orientation, b.orientation, sizeof a.orientation), 0);
        EXPECT_EQ(a.pocketed, b.pocketed);
    }
    const Referee& r = before.referee;
    const Referee& g = game.referee;
    EXPECT_EQ(r.solidsRemaining, g.solidsRemaining);
    EXPECT_EQ(r.stripesRemaining, g.stripesRemaining);
    EXPECT_EQ(r.firstPocketed, g.firstPocketed);
    EXPECT_EQ(r.tableState, g.tableState);
    EXPECT_EQ(r.playState, g.playState);
    EXPECT_EQ(r.currentPlayer, g.currentPlayer);
    EXPECT_EQ(r.cuePocketed, g.cuePocketed);
    EXPECT_EQ(r.eightPocketed, g.eightPocketed);
    EXPECT_EQ(r.won, g.won);
    EXPECT_EQ(r.lost, g.lost);
    EXPECT_EQ(g.cueBall, game.balls[0]);
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(r.players[p].group, g.players[p].group);
        EXPECT_EQ(r.players[p].onEightBall, g.players[p].onEightBall);
    }
}

namespace {
std::string readAll(std::FILE* file) {
    std::rewind(file);
    std::string text;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, n);
    return text;
}

MatchSettings shortMatch(const char* first, const char* second) {
    MatchSettings settings;
    settings.games = 3;
    settings.seed = 11;
    settings.players[0] = first;
    settings.players[1] = second;
    return settings;
}
} // namespace

// A few whole games end with winners; the log plays them again to the same output, byte for
// byte; a log that does not fit the game is refused.
TEST(HeadlessMatch, GamesEndAndTheLogReplaysThemExactly) {
    HeadlessGame game;
    const MatchSettings settings = shortMatch("3", "straight");
    LiveShots live(settings);
    std::FILE* out = std::tmpfile();
    std::FILE* log = std::tmpfile();
    std::string error;
    ASSERT_TRUE(runMatch(settings, live, game.balls, game.table, game.referee, out, log, error))
        << error;
    const std::string played = readAll(out);
    EXPECT_EQ(played.find("no winner"), std::string::npos) << played;
    EXPECT_NE(played.find("game 3: player"), std::string::npos) << played;

    std::rewind(log);
    MatchSettings read;
    ASSERT_TRUE(readMatchHeader(log, read));
    EXPECT_EQ(read.games, 3);
    EXPECT_EQ(read.seed, 11u);
    LoggedShots logged(log);
    std::FILE* again = std::tmpfile();
    ASSERT_TRUE(runMatch(read, logged, game.balls, game.table, game.referee, again, nullptr,
                         error))
        << error;
    EXPECT_TRUE(logged.atEnd());
    EXPECT_EQ(readAll(again), played);

    // The same log with the second shot given to the other player.
    std::string text = readAll(log);
    const std::string::size_type second = text.find("game=1 shot=2 player=");
    ASSERT_NE(second, std::string::npos);
    char& player = text[second + std::strlen("game=1 shot=2 player=")];
    player = player == '1' ? '2' : '1';
    std::FILE* bad = std::tmpfile();
    std::fputs(text.c_str(), bad);
    std::rewind(bad);
    ASSERT_TRUE(readMatchHeader(bad, read));
    LoggedShots badShots(bad);
    EXPECT_FALSE(runMatch(read, badShots, game.balls, game.table, game.referee, again, nullptr,
                          error));
    EXPECT_NE(error.find("is not at the table"), std::string::npos) << error;
    for (std::FILE* file : {out, log, again, bad}) std::fclose(file);
}

TEST(HeadlessMatch, PlayerNames) {
    for (const char* name : {"1", "2", "3", "straight"}) EXPECT_NE(makePlayer(name), nullptr) << name;
    for (const char* name : {"0", "4", "", "Straight", "33", "level 3"})
        EXPECT_EQ(makePlayer(name), nullptr) << name;
}
