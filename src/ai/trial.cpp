// Silent shots on copies of the game, with the game's own simulation and referee.
#include "ai/trial.h"

#include "sim/contact.h"

Game playTrial(const Game& game, const ShotPlan& plan, double dt) {
    Game trial = game;
    if (plan.placesCueBall) trial.placeCueBall(plan.spot.x, plan.spot.z);
    trial.strike(plan.angle, plan.power);
    SilentContacts silent;
    trial.playShot(dt, silent, MAX_SHOT_FRAMES);
    return trial;
}
