// The whole choice of a player at once, for headless play.
#include "ai/player.h"

#include <climits>

ShotPlan Player::choose(const Game& state) {
    begin(state);
    while (!think(INT_MAX)) {
    }
    return plan();
}
