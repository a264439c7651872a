// Helpers of the game's GL tests: start-up and the redisplay count.
#include "game_test_util.h"

#include <GL/freeglut.h>

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/options.h"
#include "app/shell.h"
#include "app/shot.h"
#include "support/gl_test_main.h"

int redisplayRequests = 0;

void startPlay() {
    static bool started = false;
    if (!started) {
        init();
        postRedisplay = [] {
            ++redisplayRequests;
            glutPostRedisplay();
        };
    }
    started = true;
    releaseSpace(false);       // a space bar a test left held would charge nothing in the next
    toggles = RenderToggles{}; // nor may its render switches change the next one's frames
    newGame();
    reshape(GL_TEST_WIDTH, GL_TEST_HEIGHT);
    redisplayRequests = 0;
}

void giveBallInHand() {
    startPlay();
    game.referee.giveBallInHand();
    game.liftCueBall();
    followCueBall();
}

Options seats(bool first, bool second, int level) {
    Options options;
    options.computerPlays[0] = first;
    options.computerPlays[1] = second;
    options.level = level;
    return options;
}
