// The computer player: candidate shots for every ball it may pocket and every pocket, each
// played silently on a copy of the game and scored; the best robust one, with the level's
// seeded errors.
#pragma once

#include <random>
#include <vector>

#include "ai/player.h"

// The computer's strengths: 1 a beginner, 2 a steady player, 3 the strongest (no errors).
constexpr int MIN_LEVEL = 1;
constexpr int MAX_LEVEL = 3;

class ComputerPlayer final : public Player {
public:
    explicit ComputerPlayer(int level);

    void newGame(std::uint64_t seed) override;
    void begin(const Game& state) override;
    bool think(int trials) override;
    ShotPlan plan() const override { return chosen; }

private:
    struct Candidate {
        ShotPlan plan;
        double score = 0.0;  // of the shot as aimed, at the search's frame time
        double robust = 0.0; // sum of the scores with small changes of aim and frame time
        int checks = 0;      // scores added into robust
    };
    struct Check {
        int candidate;
        ShotPlan plan;
        double dt; // seconds per frame
    };

    void addCandidates(const Vec3* spot);
    void addPots(const Game& from, const Vec3* spot);
    void addPot(const Vec3* spot, const Ball balls[BALL_COUNT], int target, const Vec3& aim);
    void addSafeties(const Game& from, const Vec3* spot);
    void addCandidate(const Vec3* spot, double angle, double power);
    std::vector<Vec3> ballInHandSpots() const;
    double score(const Game& after) const;
    void planChecks();
    void finish();
    ShotPlan withErrors(ShotPlan plan);

    int level;
    std::mt19937_64 random;
    Game state;      // the game as it was when the choice began
    int shooter = 0; // the computer's seat at this turn
    std::vector<Candidate> candidates;
    std::vector<Check> checks;
    std::size_t nextCandidate = 0;
    std::size_t nextCheck = 0;
    bool ready = false;
    ShotPlan chosen;
};
