// The headless game, and drawing operations that draw and load nothing.
#include "render/headless.h"

namespace {
constexpr float ORIGIN[3] = {0.0f, 0.0f, 0.0f};

class NoDrawing final : public DrawingOperations {
public:
    void drawBall(Ball&, bool, bool, bool, int) override {}
    void drawTable(Table&, bool, bool, bool, int) override {}
    void loadTexture(SceneObject&) override {}
};

NoDrawing noDrawing;
} // namespace

HeadlessGame::HeadlessGame()
    : table(TABLE_LENGTH, TABLE_WIDTH, ORIGIN, TABLE_DIFFUSE, TABLE_SPECULAR, &TABLE_SHININESS) {
    installDrawingOperations(&noDrawing);
    for (int i = 0; i < BALL_COUNT; ++i) {
        const RackEntry& row = rack[i];
        rackedBalls[i] = Ball(row.number, row.radius, row.position, row.diffuse, row.specular,
                              &row.shininess);
        balls[i] = &rackedBalls[i];
    }
    referee.setCueBall(balls[0]);
}

void HeadlessGame::reset() {
    for (int i = 0; i < BALL_COUNT; ++i) balls[i]->reset(rack[i].position);
    referee.reset();
}
