// Silent shots on copies of the game, with the game's own simulation and referee.
#include "ai/trial.h"

#include "sim/contact.h"
#include "sim/simulation.h"
#include "sim/strike.h"

StateBalls::StateBalls(GameState& state) {
    for (int i = 0; i < BALL_COUNT; ++i) balls[i] = &state.balls[i];
}

void placeCueBall(Ball& cueBall, Referee& referee, const Vec3& spot) {
    cueBall.pocketed = false;
    cueBall.position = Vec3(spot.x, RESTING_HEIGHT, spot.z);
    referee.resumeAiming();
}

GameState playTrial(const GameState& state, const Table& table, const ShotPlan& plan, double dt) {
    GameState trial = state;
    StateBalls view(trial);
    trial.referee.cueBall = view.balls[0];
    trial.referee.gameOverScratchHandler = nullptr;
    if (plan.placesCueBall) placeCueBall(*view.balls[0], trial.referee, plan.spot);
    strikeBall(*view.balls[0], plan.angle, plan.power);
    SilentContacts silent;
    playShot(view.balls, table, trial.referee, silent, dt, MAX_SHOT_FRAMES);
    return trial;
}
