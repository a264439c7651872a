// The whole choice of a player at once, for headless play.
#include "ai/player.h"

#include <climits>

ShotPlan Player::choose(const GameState& state, const Table& table) {
    begin(state, table);
    while (!think(INT_MAX)) {
    }
    return plan();
}
