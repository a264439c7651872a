// Table geometry for choosing shots: where the pockets are, which paths are free, which spots
// the cue ball may take.
#include "ai/geometry.h"

#include <cmath>
#include <initializer_list>

#include "sim/referee.h"
#include "sim/table.h"

namespace {
// Pots whose paths add up to this many units count half as easy as a pot from close by.
constexpr double EASE_DISTANCE = 40.0; // world units

double clamp(double v, double limit) { return v > limit ? limit : (v < -limit ? -limit : v); }

// Distance from p to the segment ab, in the table's plane.
double segmentDistance(const Vec3& p, const Vec3& a, const Vec3& b) {
    const Vec3 ab(b.x - a.x, 0.0, b.z - a.z), ap(p.x - a.x, 0.0, p.z - a.z);
    const double length2 = ab.dot(ab);
    double t = length2 > 0.0 ? ap.dot(ab) / length2 : 0.0;
    t = t < 0.0 ? 0.0 : (t > 1.0 ? 1.0 : t);
    const Vec3 d = ap - ab * t;
    return d.length();
}

bool inPlay(const Ball& ball) { return !ball.pocketed; }
} // namespace

namespace {
// Index of pocket k's feature; the two cushion ends of its mouth come just before it.
int pocketFeature(int pocket) {
    int seen = 0;
    for (int k = 0; k < tableFeatureCount; ++k)
        if (tableFeatures[k].kind == FeatureKind::Pocket && seen++ == pocket) return k;
    return -1;
}
} // namespace

// The features lie at a resting ball's height already.
Vec3 pocketCentre(int pocket) { return tableFeatures[pocketFeature(pocket)].a; }

Vec3 pocketMouth(int pocket) {
    const int k = pocketFeature(pocket);
    return (tableFeatures[k - 2].a + tableFeatures[k - 1].a) * 0.5;
}

double aimAngle(const Vec3& from, const Vec3& to) {
    return std::atan2(from.x - to.x, from.z - to.z) * DEGREES_PER_RADIAN;
}

bool pathClear(const Ball balls[BALL_COUNT], const Vec3& a, const Vec3& b, int skipA, int skipB) {
    for (int i = 0; i < BALL_COUNT; ++i) {
        if (i == skipA || i == skipB || !inPlay(balls[i])) continue;
        if (segmentDistance(balls[i].position, a, b) < BALL_DIAMETER) return false;
    }
    return true;
}

bool spotFree(const Game& game, double x, double z) {
    return game.spotFree(x, z, FINEST_PLACEMENT_STEP / 2);
}

Vec3 startSpotOrNearestFree(const Game& game) {
    const double startZ = rack[0].position[2];
    for (double offset = 0.0; offset <= 2.0 * FREE_HALF_LENGTH; offset += FINEST_PLACEMENT_STEP) {
        for (const double z : {startZ - offset, startZ + offset})
            if (spotFree(game, 0.0, z)) return Vec3(0.0, RESTING_HEIGHT, z);
    }
    return Vec3(0.0, RESTING_HEIGHT, startZ); // a centre line full of balls cannot happen
}

Vec3 placeableSpot(const Vec3& spot) {
    const double x =
        std::round(clamp(spot.x, FREE_HALF_WIDTH) / FINEST_PLACEMENT_STEP) * FINEST_PLACEMENT_STEP;
    const double z =
        std::round(clamp(spot.z, FREE_HALF_LENGTH) / FINEST_PLACEMENT_STEP) * FINEST_PLACEMENT_STEP;
    return Vec3(x, RESTING_HEIGHT, z);
}

int legalTargets(const Ball balls[BALL_COUNT], const Referee& referee, int player,
                 int targets[BALL_COUNT]) {
    const PlayerRecord& record = referee.players[player];
    int count = 0;
    for (int i = 1; i < BALL_COUNT; ++i) {
        const Ball& ball = balls[i];
        if (!inPlay(ball)) continue;
        const BallGroup group = Referee::groupOf(ball.number);
        const bool legal = record.onEightBall                ? ball.number == 8
                           : record.group == BallGroup::None ? group != BallGroup::None
                                                             : group == record.group;
        if (legal) targets[count++] = i;
    }
    return count;
}

PotLine potLine(const Vec3& cueBall, const Ball& target, int pocket) {
    return potLineTo(cueBall, target, pocketCentre(pocket));
}

PotLine potLineTo(const Vec3& cueBall, const Ball& target, const Vec3& aim) {
    const Vec3 toPocket = aim - target.position;
    const Vec3 u = Vec3(toPocket.x, 0.0, toPocket.z).normalized();
    PotLine line;
    line.pocket = aim;
    line.ghost = target.position - u * BALL_DIAMETER;
    const Vec3 approach = line.ghost - cueBall;
    line.cueTravel = Vec3(approach.x, 0.0, approach.z).length();
    line.objectTravel = Vec3(toPocket.x, 0.0, toPocket.z).length();
    const double cosCut = line.cueTravel > 0.0 ? approach.dot(u) / line.cueTravel : 1.0;
    line.cut = std::acos(cosCut > 1.0 ? 1.0 : (cosCut < -1.0 ? -1.0 : cosCut)) * DEGREES_PER_RADIAN;
    return line;
}

bool potLineClear(const Ball balls[BALL_COUNT], int target, const PotLine& line) {
    return pathClear(balls, balls[0].position, line.ghost, 0, target) &&
           pathClear(balls, balls[target].position, line.pocket, target, -1);
}

double potEase(const Ball balls[BALL_COUNT], int target, const PotLine& line) {
    if (line.cut > EASY_CUT_LIMIT || !potLineClear(balls, target, line)) return 0.0;
    const double c = std::cos(line.cut / DEGREES_PER_RADIAN);
    return c * c * EASE_DISTANCE / (EASE_DISTANCE + line.cueTravel + line.objectTravel);
}

double bestEase(const Ball balls[BALL_COUNT], const Referee& referee, int player) {
    int targets[BALL_COUNT];
    const int count = legalTargets(balls, referee, player, targets);
    double best = 0.0;
    for (int k = 0; k < count; ++k)
        for (int pocket = 0; pocket < POCKET_COUNT; ++pocket) {
            const PotLine line = potLine(balls[0].position, balls[targets[k]], pocket);
            const double ease = potEase(balls, targets[k], line);
            if (ease > best) best = ease;
        }
    return best;
}
