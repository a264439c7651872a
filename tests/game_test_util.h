// Helpers of the game's tests: a fresh game for every GL test, counted redisplay requests, layouts
// of a few balls, and points compared.
#pragma once

#include <gtest/gtest.h>

#include <array>

#include "sim/game.h"
#include "sim/vec3.h"

using Xyz = std::array<double, 3>;
inline Xyz xyz(const Vec3& v) { return {v.x, v.y, v.z}; }
inline void expectNear(const Xyz& got, const Xyz& want, double tolerance) {
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(got[i], want[i], tolerance) << "coordinate " << i;
}

struct Spot {
    int number;
    double x, z;
}; // a ball by its number, and where it lies

// Every object ball pocketed but those listed; the cue ball at (cueX, cueZ); groups assigned,
// player 1 (solids) at the table; the cue ball's last turn not yet folded into its orientation.
// Returns the layout saved.
inline Game layOut(Game& game, double cueX, double cueZ, std::initializer_list<Spot> spots) {
    game.newGame();
    Referee& r = game.referee;
    r.solidsRemaining = r.stripesRemaining = 0;
    for (Ball& ball : game.balls) {
        ball.pocketed = ball.number != 0;
        if (ball.pocketed) ball.position.y = -2.0; // below the felt, where pockets drop balls
        for (const Spot& s : spots) {
            if (s.number != ball.number) continue;
            ball.pocketed = false;
            ball.position = Vec3(s.x, RESTING_HEIGHT, s.z);
            r.solidsRemaining += Referee::groupOf(s.number) == BallGroup::Solids;
            r.stripesRemaining += Referee::groupOf(s.number) == BallGroup::Stripes;
        }
    }
    game.balls[0].position = Vec3(cueX, RESTING_HEIGHT, cueZ);
    game.balls[0].rotation = Vec3(0.1, 0.0, 0.2);
    r.tableState = TableState::GroupsAssigned;
    r.players[0].group = BallGroup::Solids;
    r.players[1].group = BallGroup::Stripes;
    r.players[0].onEightBall = r.solidsRemaining == 0;
    return game;
}

struct Options;

// Redisplays the game asked for since the last reset.
extern int redisplayRequests;

// Runs the game's start-up once per process (the test window is current), then a new game as
// F10 starts it, no idle callback, the window size 800x600, no redisplay counted.
void startPlay();
// startPlay, then ball in hand as a scratch leaves it: the cue ball lifted over the centre, the
// view over it.
void giveBallInHand();
// Options with the computer at the seats given, at `level`.
Options seats(bool first, bool second, int level);
