// The game soak: hundreds of shots over several games through the game's own callbacks (keys
// through the window system, fixed-power and charged shots, F11, ball in hand, F10), every
// frame drawn, with the frame timer stepped so that a shot takes a fraction of its real time.
// Nothing may crash, every ball must stay on the table or in a pocket, and the resident memory
// must not grow once the first game is over.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "app/keyboard.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app_play_test_util.h"
#include "render/cue.h"
#include "sim/ball.h"
#include "sim/referee.h"

// Under AddressSanitizer freed memory waits in quarantine, so resident memory says nothing.
#if defined(__SANITIZE_ADDRESS__)
#define POOL_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define POOL_ADDRESS_SANITIZER 1
#endif
#endif
#ifdef POOL_ADDRESS_SANITIZER
constexpr bool MEMORY_MEASURABLE = false;
#else
constexpr bool MEMORY_MEASURABLE = true;
#endif

namespace {
constexpr int SHOTS = 210;
constexpr int GAMES_AFTER_BASELINE = 4;
// The GL driver's own buffers swing the resident size by about 2 MiB from game to game; a leak
// of 4 KiB a frame exceeds it over the thousand or so frames drawn after the baseline.
constexpr long MEMORY_TOLERANCE_KILOBYTES = 4096;
constexpr double FRAME_SECONDS = 2.0; // simulated per drawn frame; the simulation is exact
constexpr int MAX_FRAMES_PER_SHOT = 2000;
constexpr int SHOTS_BEFORE_CLEARING = 6; // then F11 leaves the eight to decide the game
constexpr int MAX_SHOTS_PER_GAME = 30;   // then F10 starts the next game
// A ball may come to rest in a pocket's mouth, past the cushion line but on the table.
constexpr double TABLE_HALF_WIDTH = 24.0;  // world units, to the rails
constexpr double TABLE_HALF_LENGTH = 46.0; // world units

// Resident memory once the allocator has handed its free pages back, so that only live memory
// and the driver's caches count.
long residentKilobytes() {
    malloc_trim(0);
    long pages = 0, resident = 0;
    std::FILE* statm = std::fopen("/proc/self/statm", "r");
    if (!statm) return -1;
    const int read = std::fscanf(statm, "%ld %ld", &pages, &resident);
    std::fclose(statm);
    return read == 2 ? resident * 4 : -1; // 4 KiB pages
}

class Soak {
public:
    explicit Soak(unsigned seed) : random(seed) {}

    // One player's turn: aim, strike, play the shot out with a frame drawn per step.
    void turn() {
        if (referee.isGameOver() || shotsThisGame == MAX_SHOTS_PER_GAME) newGameAfterTheLast();
        if (referee.isPlacingCueBall()) placeOrStrike();
        if (referee.playState == Aiming) {
            aim();
            if (shotsThisGame == SHOTS_BEFORE_CLEARING) special(GLUT_KEY_F11, 0, 0);
            strike();
        }
        playOut();
    }

    int shots = 0;
    int frames = 0;
    int games = 1;
    int gamesDecided = 0;
    int charged = 0;
    int refusals = 0;
    int placements = 0;
    int gamesAfterBaseline = 0;
    long baselineKilobytes = -1;
    long lastKilobytes = -1;
    long largestKilobytes = -1;

private:
    std::mt19937 random;
    int shotsThisGame = 0;

    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); }

    // The baseline is taken at the end of the first game after every screen (aiming, shot,
    // ball in hand, refusal, winner banner) has been drawn, so the driver has built all it needs.
    void newGameAfterTheLast() {
        gamesDecided += referee.isGameOver();
        const long kilobytes = residentKilobytes();
        std::printf("game %d ends after %d shots: %ld KiB resident\n", games, shotsThisGame, kilobytes);
        if (baselineKilobytes > 0) {
            lastKilobytes = kilobytes;
            largestKilobytes = std::max(largestKilobytes, kilobytes);
            ++gamesAfterBaseline;
        } else if (gamesDecided > 0 && refusals > 0 && placements > 0) {
            baselineKilobytes = kilobytes;
        }
        special(GLUT_KEY_F10, 0, 0);
        ++games;
        shotsThisGame = 0;
    }

    // Arrow moves with the three steps, then Enter; about one turn in four uses a fixed-power
    // key to place and strike at once.
    void placeOrStrike() {
        const unsigned int steps[] = {0, X_CTRL, X_ALT};
        const unsigned long arrows[] = {KEYSYM_LEFT, KEYSYM_UP, KEYSYM_RIGHT, KEYSYM_DOWN};
        ++placements;
        if (pick(2) == 0) hoverOverABallInPlay();
        for (int tries = 0; referee.isPlacingCueBall() && tries < 50; ++tries) {
            for (int i = pick(6); i >= 0; --i) tapKey(arrows[pick(4)], steps[pick(3)]);
            display();
            if (pick(4) == 0) {
                special(GLUT_KEY_F1 + pick(8), 0, 0);
                if (referee.playState == Shooting) return;
            } else {
                keyboard(13, 0, 0);
            }
            display(); // shows a refusal once and clears it
        }
        ASSERT_FALSE(referee.isPlacingCueBall()) << "no free spot found in 50 tries";
    }

    // The lifted ball straight over another ball: Enter must refuse that spot.
    void hoverOverABallInPlay() {
        for (int i = 1 + pick(BALL_COUNT - 1), n = 0; n < BALL_COUNT; ++n, i = 1 + i % (BALL_COUNT - 1)) {
            if (balls[i]->pocketed) continue;
            balls[0]->position.x = balls[i]->position.x;
            balls[0]->position.z = balls[i]->position.z;
            keyboard(13, 0, 0);
            EXPECT_TRUE(referee.placementRejected);
            refusals += referee.placementRejected;
            display();
            return;
        }
    }

    void aim() {
        const unsigned int steps[] = {0, X_CTRL, X_ALT};
        for (int i = pick(4); i > 0; --i) tapKey(pick(2) ? KEYSYM_LEFT : KEYSYM_RIGHT, steps[pick(3)]);
        if (pick(5) == 0) tapKey(pick(2) ? KEYSYM_UP : KEYSYM_DOWN);
    }

    // Mostly F1 to F8; one shot in five charged with the space bar and released.
    void strike() {
        if (pick(5) == 0) {
            for (int i = 10 + pick(90); i > 0; --i) sendKey(KEYSYM_SPACE, 0, true);
            sendKey(KEYSYM_SPACE, 0, false);
            ++charged;
        } else {
            special(GLUT_KEY_F1 + pick(8), 0, 0);
        }
    }

    void playOut() {
        if (installedIdle() == nullptr) return;
        for (int frame = 0; installedIdle() && frame < MAX_FRAMES_PER_SHOT; ++frame) {
            setNextFrameTime(FRAME_SECONDS);
            installedIdle()();
            display();
            ++frames;
        }
        ASSERT_EQ(installedIdle(), nullptr) << "shot " << shots << " never ended";
        ++shots;
        ++shotsThisGame;
        expectBallsOnTheTableOrPocketed();
    }

    void expectBallsOnTheTableOrPocketed() const {
        for (const Ball* ball : balls) {
            if (ball->pocketed) continue;
            const Vec3& p = ball->position;
            ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.z)) << "ball " << ball->number;
            ASSERT_LE(std::abs(p.x), TABLE_HALF_WIDTH) << "ball " << ball->number << " shot " << shots;
            ASSERT_LE(std::abs(p.z), TABLE_HALF_LENGTH) << "ball " << ball->number << " shot " << shots;
            if (ball->number != 0 || !referee.isPlacingCueBall()) {
                ASSERT_EQ(p.y, 1.0) << "ball " << ball->number << " shot " << shots;
            }
        }
    }
};

TEST(GameSoak, HundredsOfShotsOverSeveralGamesWithoutGrowingMemory) {
    startPlay();
    glutDisplayFunc(display);
    reshape(400, 300); // a quarter of the pixels: the soak is about the game, not the rasterizer
    Soak soak(20261206u);
    while (soak.shots < SHOTS || soak.gamesAfterBaseline < GAMES_AFTER_BASELINE) {
        soak.turn();
        if (testing::Test::HasFatalFailure()) return;
        ASSERT_LT(soak.shots, 5 * SHOTS) << "every screen never came up";
    }
    std::printf("soak: %d shots (%d charged) in %d frames, %d games (%d decided), %d placements, "
                "%d refused; resident %ld KiB at the baseline, %ld KiB after the last game, at "
                "most %ld KiB\n",
                soak.shots, soak.charged, soak.frames, soak.games, soak.gamesDecided,
                soak.placements, soak.refusals, soak.baselineKilobytes, soak.lastKilobytes,
                soak.largestKilobytes);
    if (MEMORY_MEASURABLE) {
        EXPECT_LE(soak.largestKilobytes, soak.baselineKilobytes + MEMORY_TOLERANCE_KILOBYTES)
            << "resident memory grew over the games";
    }
}
} // namespace
