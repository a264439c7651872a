// The game soak: shots through the game's own callbacks (fixed-power and charged shots, F11, ball
// in hand on random spots, F10), every frame drawn at 2 s of play, each shot ending with every
// ball on the table or in a pocket. POOL_GAME_SOAK_SHOTS and _SEED set length and seed
// (scripts/game_soak.sh, which also judges the resident memory printed after each game).
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/shell.h"
#include "app/shot.h"
#include "game_test_util.h"
#include "render/cue.h"

namespace {
TEST(GameSoak, EveryShotEndsWithEachBallOnTheTableOrInAPocket) {
    const char *shotsSetting = std::getenv("POOL_GAME_SOAK_SHOTS"), *seedSetting = std::getenv("POOL_GAME_SOAK_SEED");
    const unsigned long shots = shotsSetting ? std::stoul(shotsSetting) : 40;
    const unsigned long seed = seedSetting ? std::stoul(seedSetting) : 20261206;
    std::fprintf(stderr, "game soak: %lu shots, seed %lu\n", shots, seed);
    std::freopen("/dev/null", "w", stdout); // the contact lines of every shot
    std::mt19937 random(seed);
    const auto pick = [&](int count) { return std::uniform_int_distribution<int>(0, count - 1)(random); };
    startPlay();
    reshape(400, 300); // a quarter of the pixels: the soak is about the game, not the rasterizer
    for (unsigned long shot = 0, game = 1, ofGame = 0; shot < shots; ++shot, ++ofGame) {
        if (referee.isGameOver() || ofGame == 30) { // then F10 starts the next game
            malloc_trim(0); // only live memory and the driver's caches count
            long pages = 0, resident = 0;
            std::ifstream("/proc/self/statm") >> pages >> resident;
            std::fprintf(stderr, "game %lu ends after %lu shots: %ld KiB resident\n", game++, ofGame, resident * 4);
            special(GLUT_KEY_F10, 0, 0);
            ofGame = 0;
        }
        for (int tries = 0; referee.isPlacingCueBall() && tries < 50; ++tries) {
            balls[0]->position = Vec3(pick(43) - 21, 3.0, pick(87) - 43);
            pick(4) ? keyboard(13, 0, 0) : special(GLUT_KEY_F1 + pick(8), 0, 0);
            display(); // shows a refusal once and clears it
        }
        ASSERT_NE(referee.playState, PlayState::PlacingCueBall) << "no free spot in 50 tries";
        if (referee.playState == PlayState::Aiming) {
            cue->addAngles(pick(720) / 2.0, 0.0);
            if (ofGame == 6) special(GLUT_KEY_F11, 0, 0); // the eight then decides the game
            for (int i = pick(5) ? 0 : 10 + pick(90); i > 0; --i) keyboard(' ', 0, 0);
            cue->pull > 0 ? keyboardUp(' ', 0, 0) : special(GLUT_KEY_F1 + pick(8), 0, 0);
        }
        for (int frame = 0; installedIdle() && frame < 2000; ++frame) {
            setNextFrameTime(2.0); // seconds simulated per drawn frame; the simulation is exact
            installedIdle()();
            display();
        }
        ASSERT_EQ(installedIdle(), nullptr) << "shot " << shot << " never ended";
        for (const Ball* b : balls) { // a ball may rest in a pocket's mouth, past the cushion line
            const bool onTable = std::abs(b->position.x) <= 24 && std::abs(b->position.z) <= 46;
            const bool lifted = b == balls[0] && referee.isPlacingCueBall();
            ASSERT_TRUE(b->pocketed || (onTable && (b->position.y == 1 || lifted))) << "ball " << b->number << " shot " << shot;
        }
    }
}
} // namespace
