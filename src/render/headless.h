// A game without a display: the table, the sixteen balls and the referee, drawn by nothing.
#pragma once

#include "sim/ball.h"
#include "sim/referee.h"
#include "sim/table.h"

class HeadlessGame {
public:
    Table table;
    Ball* balls[BALL_COUNT]; // rack-row order, balls[0] the cue ball
    Referee referee;

    // Racks the balls, starts a new game and installs the drawing operations that draw nothing.
    HeadlessGame();
    HeadlessGame(const HeadlessGame&) = delete;
    HeadlessGame& operator=(const HeadlessGame&) = delete;

    // Every ball back on its rack spot at rest, and a new game.
    void reset();

private:
    Ball rackedBalls[BALL_COUNT];
};
