// The straight-shot player: the smallest cut among the free pots, at power 40.
#include "ai/straight_player.h"

#include "ai/geometry.h"

namespace {
// The pot with the smallest cut whose paths are free; a full hit on the first legal ball when
// there is none.
ShotPlan straightestPot(const Ball balls[BALL_COUNT], const Referee& referee, const Vec3& cue) {
    int targets[BALL_COUNT];
    const int count = legalTargets(balls, referee, referee.currentPlayer, targets);
    ShotPlan plan;
    plan.power = STRAIGHT_SHOT_POWER;
    double bestCut = 90.0;
    if (count > 0) plan.angle = aimAngle(cue, balls[targets[0]].position);
    for (int k = 0; k < count; ++k)
        for (int pocket = 0; pocket < POCKET_COUNT; ++pocket) {
            const PotLine line = potLine(cue, balls[targets[k]], pocket);
            if (line.cut >= bestCut || !potLineClear(balls, targets[k], line)) continue;
            bestCut = line.cut;
            plan.angle = aimAngle(cue, line.ghost);
        }
    return plan;
}
} // namespace

void StraightShotPlayer::begin(const Game& state) {
    Game copy = state;
    if (state.referee.tableState == TableState::BreakShot && !state.referee.isPlacingCueBall()) {
        chosen = ShotPlan();
        chosen.power = BREAK_POWER;
        return;
    }
    Vec3 cue = copy.balls[0].position;
    Vec3 spot;
    const bool placing = state.referee.isPlacingCueBall();
    if (placing) {
        spot = startSpotOrNearestFree(copy);
        copy.placeCueBall(spot.x, spot.z);
        cue = copy.balls[0].position;
    }
    chosen = straightestPot(copy.balls, copy.referee, cue);
    chosen.placesCueBall = placing;
    chosen.spot = spot;
}
