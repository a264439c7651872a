// Checks that a game's balls and referee hold, field by field, what a saved state holds.
#pragma once

#include <gtest/gtest.h>

#include <cstring>

#include "sim/game_state.h"

inline void expectAsSaved(const GameState& saved, Ball* const balls[BALL_COUNT],
                          const Referee& referee) {
    for (int i = 0; i < BALL_COUNT; ++i) {
        const Ball &a = saved.balls[i], &b = *balls[i];
        for (const auto v : {&Ball::position, &Ball::velocity, &Ball::acceleration,
                             &Ball::rotation, &Ball::angularVelocity, &Ball::angularAcceleration})
            EXPECT_TRUE((a.*v).x == (b.*v).x && (a.*v).y == (b.*v).y && (a.*v).z == (b.*v).z);
        EXPECT_TRUE(a.pocketed == b.pocketed &&
                    std::memcmp(a.orientation, b.orientation, sizeof a.orientation) == 0)
            << "ball " << a.number;
    }
    const Referee& r = saved.referee;
    for (int p = 0; p < 2; ++p)
        EXPECT_TRUE(r.players[p].group == referee.players[p].group &&
                    r.players[p].onEightBall == referee.players[p].onEightBall);
    EXPECT_TRUE(r.playState == referee.playState && r.tableState == referee.tableState &&
                r.currentPlayer == referee.currentPlayer &&
                r.solidsRemaining == referee.solidsRemaining &&
                r.stripesRemaining == referee.stripesRemaining &&
                r.firstPocketed == referee.firstPocketed && r.cuePocketed == referee.cuePocketed &&
                r.eightPocketed == referee.eightPocketed && r.won == referee.won &&
                r.lost == referee.lost && r.winner == referee.winner &&
                r.cueBall == referee.cueBall);
}
