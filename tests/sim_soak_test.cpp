// Physics soak: random layouts and shots, every frame checked for escapes, overlaps and hangs.
// CI runs a short soak with a fresh seed; scripts/soak.sh runs 100,000 shots. Environment:
// POOL_SOAK_SHOTS (shots to play), POOL_SOAK_SEED (base seed), POOL_SOAK_REPLAY (one sequence).
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "sim/ball.h"
#include "sim/headless.h"
#include "sim/referee.h"
#include "sim/simulation.h"
#include "sim/strike.h"
#include "sim/table.h"

namespace {

constexpr double MIN_DT = 1.0 / 240, MAX_DT = 1.0 / 15; // seconds
constexpr double SHOT_TIME_LIMIT = 55.0; // seconds; a 100 units/s shot is over within 50

struct Rng {
    std::uint64_t state;
    std::uint64_t next() { // splitmix64
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double uniform(double lo, double hi) { return lo + (hi - lo) * (next() >> 11) * 0x1.0p-53; }
    int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
};

// The cushion lines, in order, bound the area a ball's centre may reach (pocket mouths included).
std::vector<Vec3> cushionLoop() {
    std::vector<Vec3> loop;
    for (const TableFeature& f : tableFeatures)
        if (f.kind == FEATURE_CUSHION) loop.emplace_back(f.d[0], 1.0, f.d[2]);
    return loop;
}
const std::vector<Vec3> LOOP = cushionLoop();

bool insideLoop(double x, double z) {
    bool inside = false;
    for (size_t i = 0, j = LOOP.size() - 1; i < LOOP.size(); j = i++) {
        const Vec3 &a = LOOP[i], &b = LOOP[j];
        if ((a.z > z) != (b.z > z) && x < (b.x - a.x) * (z - a.z) / (b.z - a.z) + a.x)
            inside = !inside;
    }
    return inside;
}

double distanceToCushions(double x, double z) {
    double best = 1e9;
    for (size_t i = 0; i < LOOP.size(); ++i) {
        const Vec3 a = LOOP[i], b = LOOP[(i + 1) % LOOP.size()];
        const Vec3 ab = b - a, ap = Vec3(x, 1, z) - a;
        const double t = std::fmin(1.0, std::fmax(0.0, ap.dot(ab) / ab.dot(ab)));
        best = std::fmin(best, (ap - t * ab).length());
    }
    return best;
}

// A ball in play must stay on the table: inside the cushion backs, inside the cushion loop, and
// within the cushion noses away from the pocket mouths.
std::string escape(const Ball& ball) {
    const Vec3& p = ball.position;
    if (std::fabs(p.x) >= 25 || std::fabs(p.z) >= 47) return "beyond the cushion backs";
    if (!insideLoop(p.x, p.z)) return "outside the cushion lines";
    if (std::fabs(p.z) >= 4 && std::fabs(p.z) <= 40 && std::fabs(p.x) > 21 + 1e-6)
        return "through a long cushion";
    if (std::fabs(p.x) <= 18 && std::fabs(p.z) > 43 + 1e-6) return "through a short cushion";
    if (p.y != 1.0) return "off the felt";
    return "";
}

bool finite(const Vec3& v) { return std::isfinite(v.x) && std::isfinite(v.y) && std::isfinite(v.z); }

std::string describe(const Ball& ball) {
    char text[160];
    std::snprintf(text, sizeof text, "ball %d at (%.9g, %.9g, %.9g) moving (%.9g, %.9g, %.9g)",
                  ball.number, ball.position.x, ball.position.y, ball.position.z,
                  ball.velocity.x, ball.velocity.y, ball.velocity.z);
    return text;
}

// Overlaps stay where they are once the balls stop, so the bound is the longest frame so far.
std::string checkFrame(double longestDt) {
    for (const Ball* ball : balls) {
        if (ball->pocketed) continue;
        if (!finite(ball->position) || !finite(ball->velocity) || !finite(ball->acceleration))
            return "not finite: " + describe(*ball);
        const std::string out = escape(*ball);
        if (!out.empty()) return out + ": " + describe(*ball);
    }
    for (int i = 0; i < BALL_COUNT; ++i)
        for (int j = i + 1; j < BALL_COUNT; ++j) {
            const Ball &a = *balls[i], &b = *balls[j];
            if (a.pocketed || b.pocketed) continue;
            const double overlap = 2.0 - (a.position - b.position).length();
            if (overlap > longestDt * longestDt)
                return "overlap " + std::to_string(overlap) + ": " + describe(a) + ", " + describe(b);
        }
    return "";
}

// --- Layouts -------------------------------------------------------------------------------

// Spots are stored as floats like the rack's: touching balls may overlap by their rounding.
constexpr double SPOT_ROUNDING = 1e-5; // units

// A spot on the table clear of the cushions and of every other ball in play.
bool freeSpot(double x, double z, int self) {
    x = static_cast<float>(x);
    z = static_cast<float>(z);
    if (!insideLoop(x, z) || distanceToCushions(x, z) < 1.0) return false;
    for (int k = 0; k < BALL_COUNT; ++k) {
        if (k == self || balls[k]->pocketed) continue;
        if ((balls[k]->position - Vec3(x, 1, z)).length() < 2.0 - SPOT_ROUNDING) return false;
    }
    return true;
}

void put(int index, double x, double z) {
    const float spot[3] = {static_cast<float>(x), 1.0f, static_cast<float>(z)};
    balls[index]->reset(spot);
}

// Places balls 0..count-1 one by one with the generator; balls it cannot place are pocketed.
template <class Generator> void lay(int count, Rng& rng, Generator spot) {
    for (Ball* ball : balls) ball->pocketed = true;
    for (int i = 0; i < count; ++i) {
        bool placed = false;
        for (int attempt = 0; attempt < 200 && !placed; ++attempt) {
            double x, z;
            spot(rng, i, x, z);
            if (freeSpot(x, z, i)) {
                put(i, x, z);
                placed = true;
            }
        }
        if (!placed) {
            put(i, 0, 0);
            balls[i]->pocketed = true;
            balls[i]->position = Vec3(0, -2.0 * (balls[i]->number + 1), 0);
        }
    }
}

void scatter(Rng& rng, int, double& x, double& z) {
    x = rng.uniform(-21, 21);
    z = rng.uniform(-43, 43);
}

void cluster(Rng& rng, int i, double& x, double& z) {
    if (i == 0 || rng.below(5) == 0) return scatter(rng, i, x, z);
    const Vec3 neighbour = balls[rng.below(i)]->position;
    const double angle = rng.uniform(0, 2 * M_PI);
    x = neighbour.x + 2 * std::cos(angle);
    z = neighbour.z + 2 * std::sin(angle);
}

void againstCushion(Rng& rng, int i, double& x, double& z) {
    if (rng.below(4) == 0) return cluster(rng, i, x, z);
    const TableFeature* cushion;
    do cushion = &tableFeatures[rng.below(tableFeatureCount)];
    while (cushion->kind != FEATURE_CUSHION);
    const Vec3 a(cushion->d[0], 1, cushion->d[2]), b(cushion->d[3], 1, cushion->d[5]);
    const Vec3 n = Vec3(cushion->d[6], 0, cushion->d[8]).normalized();
    const Vec3 p = a + rng.uniform(0, 1) * (b - a) + n * 1.0000001;
    x = p.x;
    z = p.z;
}

void inPocketMouth(Rng& rng, int i, double& x, double& z) {
    if (rng.below(3) == 0) return againstCushion(rng, i, x, z);
    const int pocket = rng.below(6);
    const double sx = pocket % 2 ? 1 : -1;
    if (pocket < 2) { // side pockets
        x = sx * rng.uniform(19.5, 24);
        z = rng.uniform(-3.5, 3.5);
    } else {
        const double sz = pocket < 4 ? 1 : -1;
        x = sx * rng.uniform(17.5, 23.5);
        z = sz * rng.uniform(39.5, 45.5);
    }
}

void setUpLayout(Rng& rng) {
    setUpHeadlessGame();
    const int count = 2 + rng.below(15);
    switch (rng.below(5)) {
    case 0: break; // the rack
    case 1: lay(count, rng, scatter); break;
    case 2: lay(count, rng, cluster); break;
    case 3: lay(count, rng, againstCushion); break;
    default: lay(count, rng, inPocketMouth); break;
    }
}

// Ball in hand: the next player puts the cue ball anywhere free on the table.
bool placeCueBall(Rng& rng) {
    balls[0]->pocketed = true;
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const double x = rng.uniform(-21, 21), z = rng.uniform(-43, 43);
        if (freeSpot(x, z, 0)) {
            put(0, x, z);
            return true;
        }
    }
    return false;
}

// --- Shots ---------------------------------------------------------------------------------

struct Soak {
    double longestDt = 0; // seconds, in the current sequence
    std::atomic<long> frames{0};
    std::atomic<std::uint64_t> sequenceSeed{0};
    long shots = 0;
    long contacts = 0;
};

double aimAngle(Rng& rng) {
    std::vector<int> targets;
    for (int i = 1; i < BALL_COUNT; ++i)
        if (!balls[i]->pocketed) targets.push_back(i);
    if (targets.empty() || rng.below(2) == 0) return rng.uniform(0, 360);
    const Vec3 d = balls[targets[rng.below(static_cast<int>(targets.size()))]]->position -
                   balls[0]->position;
    // The cue sends the ball along (-sin, 0, -cos) of its angle.
    return std::atan2(-d.x, -d.z) * 180 / M_PI + rng.uniform(-3, 3);
}

double shotPower(Rng& rng) {
    switch (rng.below(4)) {
    case 0: return rng.uniform(0, 2);
    case 1: return rng.uniform(2, 30);
    case 2: return 100;
    default: return rng.uniform(30, 100);
    }
}

std::string playShot(Rng& rng, Soak& soak) {
    strikeBall(*balls[0], aimAngle(rng), shotPower(rng));
    referee.startShot();
    const bool jitter = rng.below(3) == 0;
    const double fixedDt = rng.uniform(MIN_DT, MAX_DT);
    double elapsed = 0;
    for (;;) {
        const double dt = jitter ? rng.uniform(MIN_DT, MAX_DT) : fixedDt;
        soak.contacts += simulate(dt);
        ++soak.frames;
        elapsed += dt;
        soak.longestDt = std::fmax(soak.longestDt, dt);
        const std::string fault = checkFrame(soak.longestDt);
        if (!fault.empty()) return fault + " (dt " + std::to_string(dt) + ")";
        if (allBallsAtRest()) break;
        if (elapsed > SHOT_TIME_LIMIT) return "the shot does not end";
    }
    ++soak.shots;
    referee.endShot();
    return "";
}

// One layout and the shots played on from where the balls stopped.
std::string playSequence(std::uint64_t seed, Soak& soak, long& shotsLeft) {
    soak.sequenceSeed = seed;
    soak.longestDt = MIN_DT;
    Rng rng{seed};
    setUpLayout(rng);
    const std::string fault = checkFrame(std::sqrt(SPOT_ROUNDING));
    if (!fault.empty()) return "layout: " + fault;
    const int shots = 1 + rng.below(6);
    for (int shot = 0; shot < shots && shotsLeft > 0; ++shot, --shotsLeft) {
        if (referee.isGameOver()) break;
        if (referee.isPlacingCueBall() && !placeCueBall(rng)) break;
        const std::string shotFault = playShot(rng, soak);
        if (!shotFault.empty()) return "shot " + std::to_string(shot) + ": " + shotFault;
    }
    return "";
}

std::uint64_t environmentNumber(const char* name, std::uint64_t fallback) {
    const char* text = std::getenv(name);
    return text && *text ? std::strtoull(text, nullptr, 0) : fallback;
}

} // namespace

TEST(PhysicsSoak, BallsStayOnTheTableApartAndEveryShotEnds) {
    const std::uint64_t base = environmentNumber("POOL_SOAK_SEED", std::random_device{}());
    const std::uint64_t replay = environmentNumber("POOL_SOAK_REPLAY", 0);
    long shotsLeft = static_cast<long>(environmentNumber("POOL_SOAK_SHOTS", 5000));
    std::fprintf(stderr, "soak seed %" PRIu64 " (POOL_SOAK_SEED=%" PRIu64 " replays it)\n", base, base);

    Soak soak;
    std::atomic<bool> done{false};
    // A simulate that never returns cannot fail an assertion: report the sequence and abort.
    std::thread watchdog([&] {
        long lastFrames = -1;
        for (int stalled = 0; !done; std::this_thread::sleep_for(std::chrono::milliseconds(100))) {
            stalled = soak.frames == lastFrames ? stalled + 1 : 0;
            lastFrames = soak.frames;
            if (stalled < 300) continue;
            std::fprintf(stderr, "simulate hangs: POOL_SOAK_REPLAY=%" PRIu64 "\n",
                         soak.sequenceSeed.load());
            std::abort();
        }
    });

    std::vector<std::string> faults;
    const auto start = std::chrono::steady_clock::now();
    {
        QuietStdout quiet; // contact lines would flood the log
        if (replay) {
            const std::string fault = playSequence(replay, soak, shotsLeft);
            if (!fault.empty()) faults.push_back(fault);
        }
        for (std::uint64_t index = 0; !replay && shotsLeft > 0 && faults.size() < 10; ++index) {
            const std::uint64_t seed = Rng{base + index}.next();
            const std::string fault = playSequence(seed, soak, shotsLeft);
            if (!fault.empty())
                faults.push_back("POOL_SOAK_REPLAY=" + std::to_string(seed) + ": " + fault);
        }
    }
    done = true;
    watchdog.join();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::fprintf(stderr, "soak: %ld shots, %ld frames, %ld contacts, %zu faults in %.1f s\n",
                 soak.shots, soak.frames.load(), soak.contacts, faults.size(), seconds);
    for (const std::string& fault : faults) ADD_FAILURE() << "seed " << base << ", " << fault;
}
