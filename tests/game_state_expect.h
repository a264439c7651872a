// Checks that a game's balls and referee hold, field by field, what a saved state holds.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "sim/game_state.h"

inline void expectAsSaved(const GameState& saved, Ball* const balls[BALL_COUNT],
                          const Referee& referee) {
    for (int i = 0; i < BALL_COUNT; ++i) {
        const Ball &a = saved.balls[i], &b = *balls[i];
        for (const auto field : {&Ball::position, &Ball::velocity, &Ball::acceleration,
                                 &Ball::rotation, &Ball::angularVelocity,
                                 &Ball::angularAcceleration})
            EXPECT_TRUE((a.*field).x == (b.*field).x && (a.*field).y == (b.*field).y &&
                        (a.*field).z == (b.*field).z)
                << "ball " << a.number;
        EXPECT_EQ(std::memcmp(a.orientation, b.orientation, sizeof a.orientation), 0);
        EXPECT_EQ(a.pocketed, b.pocketed) << "ball " << a.number;
    }
    const Referee& r = saved.referee;
    for (int p = 0; p < 2; ++p) {
        EXPECT_EQ(r.players[p].group, referee.players[p].group);
        EXPECT_EQ(r.players[p].onEightBall, referee.players[p].onEightBall);
    }
    EXPECT_TRUE(r.playState == referee.playState && r.tableState == referee.tableState &&
                r.currentPlayer == referee.currentPlayer &&
                r.solidsRemaining == referee.solidsRemaining &&
                r.stripesRemaining == referee.stripesRemaining &&
                r.firstPocketed == referee.firstPocketed && r.cuePocketed == referee.cuePocketed &&
                r.eightPocketed == referee.eightPocketed && r.won == referee.won &&
                r.lost == referee.lost && r.winner == referee.winner &&
                r.cueBall == referee.cueBall);
}
