// Saving and restoring a game's simulated state.
#include "sim/game_state.h"

GameState GameState::save(const Ball* const balls[BALL_COUNT], const Referee& referee) {
    GameState state;
    for (int i = 0; i < BALL_COUNT; ++i) state.balls[i] = *balls[i];
    state.referee = referee;
    return state;
}

void GameState::restore(Ball* const balls[BALL_COUNT], Referee& referee) const {
    for (int i = 0; i < BALL_COUNT; ++i) *balls[i] = this->balls[i];
    referee = this->referee;
}
