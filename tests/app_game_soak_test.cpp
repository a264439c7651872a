// The game soak: shots over several games through the game's own callbacks (fixed-power and
// charged shots, F11, ball in hand with refused spots, F10), every frame drawn, the frame timer
// stepped so that a shot takes a fraction of its real time. Nothing may crash, every shot must
// end and every ball stay on the table or in a pocket. POOL_GAME_SOAK_SHOTS and _SEED set the
// length and the seed (scripts/game_soak.sh); each game's end prints the resident memory.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>

#include "app/keyboard.h"
#include "app/placement.h"
#include "app/shell.h"
#include "app/shot.h"
#include "game_test_util.h"
#include "render/cue.h"
#include "sim/ball.h"
#include "sim/referee.h"

namespace {
unsigned long setting(const char* name, unsigned long otherwise) {
    const char* value = std::getenv(name);
    return value ? std::strtoul(value, nullptr, 10) : otherwise;
}

TEST(GameSoak, ShotsOverSeveralGamesEndWithEveryBallOnTheTableOrInAPocket) {
    const unsigned long shots = setting("POOL_GAME_SOAK_SHOTS", 40), seed = setting("POOL_GAME_SOAK_SEED", 20261206);
    std::printf("game soak: %lu shots, seed %lu\n", shots, seed);
    std::mt19937 random(seed);
    const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    const int arrows[] = {GLUT_KEY_LEFT, GLUT_KEY_UP, GLUT_KEY_RIGHT, GLUT_KEY_DOWN};
    const double steps[] = {0.5, 1.0, 30.0}; // degrees: no modifier, Ctrl, Alt
    startPlay();
    reshape(400, 300); // a quarter of the pixels: the soak is about the game, not the rasterizer
    for (unsigned long shot = 0, game = 1, ofGame = 0; shot < shots; ++shot, ++ofGame) {
        if (referee.isGameOver() || ofGame == 30) { // then F10 starts the next game
            malloc_trim(0); // only live memory and the driver's caches count
            long pages = 0, resident = 0;
            std::FILE* statm = std::fopen("/proc/self/statm", "r");
            if (statm && std::fscanf(statm, "%ld %ld", &pages, &resident) == 2)
                std::printf("game %lu ends after %lu shots: %ld KiB resident\n", game++, ofGame, resident * 4);
            if (statm) std::fclose(statm);
            special(GLUT_KEY_F10, 0, 0);
            ofGame = 0;
        }
        for (int tries = 0; referee.isPlacingCueBall() && tries < 50; ++tries) {
            for (int i = pick(6); i >= 0; --i) moveCueBall(arrows[pick(4)], steps[pick(3)]);
            const int over = 1 + pick(BALL_COUNT - 1); // the lifted ball right over another
            if (pick(3) == 0 && !balls[over]->pocketed) balls[0]->position.x = balls[over]->position.x, balls[0]->position.z = balls[over]->position.z;
            pick(4) ? keyboard(13, 0, 0) : special(GLUT_KEY_F1 + pick(8), 0, 0);
            display(); // shows a refusal once and clears it
        }
        ASSERT_NE(referee.playState, PlacingCueBall) << "no free spot in 50 tries";
        if (referee.playState == Aiming) {
            cue->addAngles(pick(720) / 2.0, 0.0);
            if (ofGame == 6) special(GLUT_KEY_F11, 0, 0); // the eight then decides the game
            if (pick(5) == 0) {
                for (int i = 10 + pick(90); i > 0; --i) keyboard(' ', 0, 0);
                keyboardUp(' ', 0, 0);
            } else {
                special(GLUT_KEY_F1 + pick(8), 0, 0);
            }
        }
        for (int frame = 0; installedIdle() && frame < 2000; ++frame) {
            setNextFrameTime(2.0); // seconds simulated per drawn frame; the simulation is exact
            installedIdle()();
            display();
        }
        ASSERT_EQ(installedIdle(), nullptr) << "shot " << shot << " never ended";
        for (const Ball* ball : balls) { // a ball may rest in a pocket's mouth, past the cushion
            const Vec3& p = ball->position;
            const bool lifted = ball == balls[0] && referee.isPlacingCueBall();
            ASSERT_TRUE(ball->pocketed || (std::abs(p.x) <= 24 && std::abs(p.z) <= 46 && (p.y == 1 || lifted)))
                << "ball " << ball->number << " at " << p.x << ", " << p.y << ", " << p.z << " after shot " << shot;
        }
    }
}
} // namespace
