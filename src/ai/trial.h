// A shot played silently on a copy of the game: the real balls and referee stay untouched.
#pragma once

#include "sim/game_state.h"

class Table;

// What a player decides for one turn.
struct ShotPlan {
    bool placesCueBall = false; // ball in hand: the cue ball goes to the spot first
    Vec3 spot;                  // world units, on the felt
    double angle = 0.0;         // degrees as the cue holds it; 0 shoots towards -z
    double power = 0.0;         // units/s, a whole number as the space bar charges it
};

// Frame time the search assumes, seconds: the game's usual display rate.
constexpr double SEARCH_FRAME_TIME = 1.0 / 60.0;
// No shot plays longer than this many frames (a struck ball at full power rests within 3,000).
constexpr long MAX_SHOT_FRAMES = 20000;

// Puts the cue ball at rest on the plan's spot and resumes aiming, as Enter does on a free spot.
void placeCueBall(Ball& cueBall, Referee& referee, const Vec3& spot);

// Plays the plan on a copy of `state` at frame time dt and returns the copy once the referee has
// judged the shot. The copy's referee points at the copy's cue ball and calls no handler.
GameState playTrial(const GameState& state, const Table& table, const ShotPlan& plan, double dt);

// The balls of a saved state as the simulation takes them.
struct StateBalls {
    Ball* balls[BALL_COUNT];
    explicit StateBalls(GameState& state);
};
