// A shot played silently on a copy of the game: the real balls and referee stay untouched.
#pragma once

#include "sim/game.h"

// What a player decides for one turn.
struct ShotPlan {
    bool placesCueBall = false; // ball in hand: the cue ball goes to the spot first
    Vec3 spot;                  // world units, on the felt
    double angle = 0.0;         // degrees as the cue holds it; 0 shoots towards -z
    double power = 0.0;         // units/s, a whole number as the space bar charges it
};

// Frame time the search assumes, seconds: the game's usual display rate.
constexpr double SEARCH_FRAME_TIME = 1.0 / 60.0;

// Plays the plan on a copy of `game` at frame time dt, silently, and returns the copy once the
// referee has judged the shot. A spot that is not free leaves the ball in hand unplaced.
Game playTrial(const Game& game, const ShotPlan& plan, double dt);
