// The computer player's search: candidates, silent trials on copies, scores, robustness checks
// and the level's errors.
#include "ai/computer_player.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

#include "ai/geometry.h"
#include "ai/straight_player.h"
#include "sim/strike.h"

namespace {
// What the computer gets wrong at each level: aim error in degrees and power error as a share,
// both standard deviations, and whether it checks its shot for robustness.
struct Skill {
    double aimError;
    double powerError;
    bool checksRobustness;
};
constexpr Skill SKILLS[MAX_LEVEL] = {{0.35, 0.06, false}, {0.25, 0.04, true}, {0.0, 0.0, true}};

// Scores of a shot's outcome, from the shooter's side.
constexpr double WIN_SCORE = 1000.0;     // the game won; its negative, the game lost
constexpr double SCRATCH_SCORE = -500.0; // the cue ball dropped: ball in hand for the opponent
constexpr double KEEP_SCORE = 100.0;     // the shooter stays at the table
constexpr double POSITION_WEIGHT = 60.0; // times the ease of the best next pot (0 to 1)
constexpr double BALL_WEIGHT = 8.0;      // per ball of the shooter's group fewer than the other's

// Pots cut thinner than this are not tried.
constexpr double MAX_CUT = 80.0; // degrees
// Each pot is also tried this far either way of the contact point's aim, in degrees.
constexpr double POT_AIM_CHANGES[] = {0.0, -0.3, 0.3};
// Powers tried for a pot, as multiples of the least power that reaches the pocket.
constexpr double POT_POWER_FACTORS[] = {1.3, 1.7, 2.3, 3.2};
// Safeties: a full hit on each ball it may pocket at these powers (units/s), and shots all round.
constexpr double SAFETY_POWERS[] = {10.0, 18.0, 30.0};
constexpr int ESCAPE_ANGLES = 12;     // evenly spread
constexpr double ESCAPE_POWER = 25.0; // units/s
constexpr double MIN_POWER = 1.0;     // units/s, the least the space bar charges

// The best few candidates are played again with small changes of aim and frame time.
constexpr int ROBUST_CANDIDATES = 8;
constexpr double ROBUST_AIM_CHANGE = 0.15;                         // degrees either way
constexpr double ROBUST_FRAME_TIMES[] = {1.0 / 45.0, 1.0 / 100.0}; // seconds
// Ball in hand: spots behind the best balls on their pocket lines, this far behind the contact.
constexpr double SPOT_DISTANCES[] = {3.0, 6.0, 10.0}; // world units
constexpr int SPOTS_SEARCHED = 2;

// The break's aim varies by up to this either way of straight up the table.
constexpr double BREAK_AIM_SPREAD = 0.5; // degrees

// The least power (units/s) that rolls the cue ball to the contact and the object ball on to the
// pocket, energy shared as the cut allows.
double leastPotPower(const PotLine& line) {
    const double c = std::cos(line.cut / DEGREES_PER_RADIAN);
    return std::sqrt(2.0 * ROLLING_DECELERATION * (line.cueTravel + line.objectTravel / (c * c)));
}

int remaining(const Referee& referee, int player) {
    const int count = referee.remainingInGroup(referee.players[player].group);
    return count < 0 ? 7 : count; // an open table: all seven of either group
}

} // namespace

ComputerPlayer::ComputerPlayer(int level_) : level(std::clamp(level_, MIN_LEVEL, MAX_LEVEL)) {}

void ComputerPlayer::newGame(std::uint64_t seed) { random.seed(seed); }

void ComputerPlayer::begin(const Game& state_) {
    state = state_;
    shooter = state.referee.currentPlayer;
    candidates.clear();
    checks.clear();
    nextCandidate = nextCheck = 0;
    ready = false;
    if (state.referee.tableState == TableState::BreakShot && !state.referee.isPlacingCueBall()) {
        chosen = ShotPlan();
        chosen.power = BREAK_POWER;
        chosen.angle =
            std::uniform_real_distribution<double>(-BREAK_AIM_SPREAD, BREAK_AIM_SPREAD)(random);
        ready = true;
        return;
    }
    if (!state.referee.isPlacingCueBall()) {
        addCandidates(nullptr);
        return;
    }
    for (const Vec3& spot : ballInHandSpots()) addCandidates(&spot);
}

void ComputerPlayer::addCandidates(const Vec3* spot) {
    Game from = state;
    if (spot) from.placeCueBall(spot->x, spot->z);
    addPots(from, spot);
    addSafeties(from, spot);
}

void ComputerPlayer::addPots(const Game& from, const Vec3* spot) {
    int targets[BALL_COUNT];
    const int count = legalTargets(from.balls, from.referee, shooter, targets);
    for (int k = 0; k < count; ++k)
        for (int pocket = 0; pocket < POCKET_COUNT; ++pocket)
            for (const Vec3& aim : {pocketCentre(pocket), pocketMouth(pocket)})
                addPot(spot, from.balls, targets[k], aim);
}

void ComputerPlayer::addPot(const Vec3* spot, const Ball balls[BALL_COUNT], int target,
                            const Vec3& aim) {
    const PotLine line = potLineTo(balls[0].position, balls[target], aim);
    if (line.cut > MAX_CUT || !potLineClear(balls, target, line)) return;
    const double angle = aimAngle(balls[0].position, line.ghost);
    double last = 0.0;
    for (const double factor : POT_POWER_FACTORS) {
        const double power = std::min(MAX_SHOT_POWER, std::ceil(leastPotPower(line) * factor));
        if (power == last) continue;
        for (const double change : POT_AIM_CHANGES) addCandidate(spot, angle + change, power);
        last = power;
    }
}

void ComputerPlayer::addSafeties(const Game& from, const Vec3* spot) {
    int targets[BALL_COUNT];
    const int count = legalTargets(from.balls, from.referee, shooter, targets);
    const Vec3& cue = from.balls[0].position;
    for (int k = 0; k < count; ++k)
        for (const double power : SAFETY_POWERS)
            addCandidate(spot, aimAngle(cue, from.balls[targets[k]].position), power);
    // Seeded turns of the escapes, so that two players without a pot do not trade the same
    // shots for ever.
    const double turn = std::uniform_real_distribution<double>(0.0, 360.0 / ESCAPE_ANGLES)(random);
    for (int k = 0; k < ESCAPE_ANGLES; ++k)
        addCandidate(spot, turn + 360.0 * k / ESCAPE_ANGLES - 180.0, ESCAPE_POWER);
}

void ComputerPlayer::addCandidate(const Vec3* spot, double angle, double power) {
    Candidate candidate;
    candidate.plan.placesCueBall = spot != nullptr;
    if (spot) candidate.plan.spot = *spot;
    candidate.plan.angle = angle;
    candidate.plan.power = power;
    candidates.push_back(candidate);
}

// Spots straight behind the balls it may pocket, on their pocket lines, easiest first.
std::vector<Vec3> ComputerPlayer::ballInHandSpots() const {
    Game lifted = state;
    int targets[BALL_COUNT];
    const int count = legalTargets(lifted.balls, lifted.referee, shooter, targets);
    std::vector<std::pair<double, Vec3>> ranked;
    for (int k = 0; k < count; ++k)
        for (int pocket = 0; pocket < POCKET_COUNT; ++pocket)
            for (const double distance : SPOT_DISTANCES) {
                const Ball& target = lifted.balls[targets[k]];
                const Vec3 towards = pocketCentre(pocket) - target.position;
                const Vec3 u = Vec3(towards.x, 0.0, towards.z).normalized();
                const Vec3 spot = placeableSpot(target.position - u * (BALL_DIAMETER + distance));
                if (!spotFree(lifted, spot.x, spot.z)) continue;
                lifted.balls[0].position = spot;
                const double ease =
                    potEase(lifted.balls, targets[k], potLine(spot, target, pocket));
                if (ease > 0.0) ranked.push_back({ease, spot});
            }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    std::vector<Vec3> spots;
    for (const auto& entry : ranked) {
        if (static_cast<int>(spots.size()) == SPOTS_SEARCHED) break;
        spots.push_back(entry.second);
    }
    if (spots.empty()) spots.push_back(startSpotOrNearestFree(lifted));
    return spots;
}

double ComputerPlayer::score(const Game& after) const {
    const Referee& referee = after.referee;
    if (referee.isGameOver()) return referee.winner == shooter ? WIN_SCORE : -WIN_SCORE;
    if (referee.isPlacingCueBall()) return SCRATCH_SCORE;
    const double balance =
        BALL_WEIGHT * (remaining(referee, 1 - shooter) - remaining(referee, shooter));
    if (referee.currentPlayer == shooter)
        return KEEP_SCORE + POSITION_WEIGHT * bestEase(after.balls, referee, shooter) + balance;
    return balance - POSITION_WEIGHT * bestEase(after.balls, referee, 1 - shooter);
}

bool ComputerPlayer::think(int trials) {
    for (; trials > 0 && !ready; --trials) {
        if (nextCandidate < candidates.size()) {
            Candidate& candidate = candidates[nextCandidate++];
            candidate.score = score(playTrial(state, candidate.plan, SEARCH_FRAME_TIME));
            candidate.robust = candidate.score;
            candidate.checks = 1;
            if (nextCandidate == candidates.size()) planChecks();
        } else if (nextCheck < checks.size()) {
            const Check& check = checks[nextCheck++];
            Candidate& candidate = candidates[check.candidate];
            candidate.robust += score(playTrial(state, check.plan, check.dt));
            candidate.checks += 1;
        }
        if (nextCandidate == candidates.size() && nextCheck == checks.size()) finish();
    }
    return ready;
}

// Small changes of aim and frame time for the best few candidates.
void ComputerPlayer::planChecks() {
    if (!SKILLS[level - 1].checksRobustness) return;
    std::vector<int> order(candidates.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return candidates[a].score > candidates[b].score; });
    order.resize(std::min<std::size_t>(order.size(), ROBUST_CANDIDATES));
    for (const int index : order) {
        ShotPlan plan = candidates[index].plan;
        for (const double change : {-ROBUST_AIM_CHANGE, ROBUST_AIM_CHANGE}) {
            plan.angle = candidates[index].plan.angle + change;
            checks.push_back({index, plan, SEARCH_FRAME_TIME});
        }
        for (const double dt : ROBUST_FRAME_TIMES)
            checks.push_back({index, candidates[index].plan, dt});
    }
}

// The best mean over the checks; candidates without checks count only where none was checked.
void ComputerPlayer::finish() {
    ready = true;
    if (candidates.empty()) {
        chosen = ShotPlan();
        chosen.power = ESCAPE_POWER;
        chosen = withErrors(chosen);
        return;
    }
    const int mostChecks =
        std::max_element(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
            return a.checks < b.checks;
        })->checks;
    const Candidate* best = nullptr;
    for (const Candidate& candidate : candidates) {
        if (candidate.checks != mostChecks) continue;
        if (!best || candidate.robust / candidate.checks > best->robust / best->checks)
            best = &candidate;
    }
    chosen = withErrors(best->plan);
}

ShotPlan ComputerPlayer::withErrors(ShotPlan plan) {
    const Skill& skill = SKILLS[level - 1];
    if (skill.aimError > 0.0)
        plan.angle += std::normal_distribution<double>(0.0, skill.aimError)(random);
    if (skill.powerError > 0.0)
        plan.power *= 1.0 + std::normal_distribution<double>(0.0, skill.powerError)(random);
    plan.power = std::clamp(std::round(plan.power), MIN_POWER, MAX_SHOT_POWER);
    return plan;
}
