// A game's simulated state by value: saved before a search plays shots on it, put back after.
#pragma once

#include "sim/ball.h"
#include "sim/referee.h"

struct GameState {
    Ball balls[BALL_COUNT]; // rack-row order
    Referee referee;

    // A copy of the sixteen balls and the referee's record.
    static GameState save(const Ball* const balls[BALL_COUNT], const Referee& referee);
    // Puts the saved balls and record back, exactly as they were saved.
    void restore(Ball* const balls[BALL_COUNT], Referee& referee) const;
};
