// The straight-shot player, the yardstick of the computer's strength: it takes the straightest
// free pot and plays it at one power, and plays no shot silently first.
#pragma once

#include "ai/player.h"
#include "sim/strike.h"

class StraightShotPlayer final : public Player {
public:
    void newGame(std::uint64_t) override {}
    void begin(const Game& state) override;
    bool think(int) override { return true; }
    ShotPlan plan() const override { return chosen; }

private:
    ShotPlan chosen;
};

constexpr double STRAIGHT_SHOT_POWER = 40.0;   // units/s
constexpr double BREAK_POWER = MAX_SHOT_POWER; // units/s: full power, as F8 strikes
