// Headless builds draw and load nothing: the tool, the tests and the benchmark have no display.
#include "sim/headless.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>

#include "sim/ball.h"
#include "sim/referee.h"
#include "sim/table.h"

void SceneObject::loadTexture() {}
void Ball::draw(bool, bool, bool, int) {}
void Table::draw(bool, bool, bool, int) {}

void setUpHeadlessGame() {
    static const float origin[3] = {0, 0, 0};
    static const float felt[4] = {0, 0.75f, 0, 1};
    static const float sheen[4] = {0.75f, 0.75f, 0.75f, 1};
    static const float shininess = 75;
    static Table headlessTable(88, 44, origin, felt, sheen, &shininess);
    table = &headlessTable;
    for (int i = 0; i < BALL_COUNT; ++i) {
        const RackEntry& row = rack[i];
        if (!balls[i])
            balls[i] = new Ball(row.number, row.radius, row.position, row.diffuse, row.specular,
                                &row.shininess);
        balls[i]->reset(row.position);
    }
    referee.reset();
    referee.setCueBall(balls[0]);
}

QuietStdout::QuietStdout() {
    std::fflush(stdout);
    saved = dup(1);
    const int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, 1);
    close(devNull);
}

QuietStdout::~QuietStdout() {
    std::fflush(stdout);
    dup2(saved, 1);
    close(saved);
}
