// A player of headless matches and of the game's computer seat: asked for a shot, it thinks in
// slices and then hands over its plan.
#pragma once

#include <cstdint>

#include "ai/trial.h"

class Player {
public:
    virtual ~Player() = default;
    // A new game: the seeded variations and errors start again from `seed`.
    virtual void newGame(std::uint64_t seed) = 0;
    // Starts choosing the shot of the player at the table (referee.currentPlayer) in this state;
    // the state is copied, the table must outlive the choice.
    virtual void begin(const Game& state) = 0;
    // Works on the choice for up to `trials` silent shots; true once the plan is ready.
    virtual bool think(int trials) = 0;
    virtual ShotPlan plan() const = 0;

    // The whole choice at once.
    ShotPlan choose(const Game& state);
};
