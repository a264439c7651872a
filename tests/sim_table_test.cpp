// The table's features and the contacts of a ball with cushions, corners and pockets.
#include <cstring>

#include "sim_test_util.h"

TEST(TableTimeToHit, EachShotAndItsMirrorImagesReachTheirFeatures) {
    // A ball at (x, z) rolling at (vx, vz); then the same shot mirrored across x = 0, across z = 0
    // and across both. Times are on a straight line at constant speed.
    const struct { const char* what; double x, z, vx, vz; int feature[4]; double t; } cases[] = {
        {"side pocket: the centre comes within 3", -15, 0, -5, 0, {12, 33, 12, 33}, 1.4},
        {"corner pocket along the diagonal", -14.1, -36.1, -5, -5, {5, 40, 19, 26}, 1.5757359},
        {"long cushion", -10, -20, -4, 0, {6, 34, 13, 27}, 2.75},
        {"short cushion at an angle", 5, -30, 1, -2, {41, 41, 20, 20}, 6.5},
        {"already touching a short cushion", 0, 43.5, 0, 1, {20, 20, 41, 41}, 0},
        {"end of a long cushion at a side pocket", -15, -2.5, -5, 0, {10, 32, 11, 31}, 1.2267949},
        {"end of a long cushion at a corner pocket", -21.5, -30, 0, -2, {4, 38, 17, 25}, 5.0669873},
        {"end of a short cushion", 19.5, 30, 0, 2, {24, 18, 39, 3}, 6.5669873},
        {"sliding along a short cushion grazes its end", 0, 43, 4, 0, {24, 18, 39, 3}, 4.75},
        {"corner pocket jaw from the short side", 20.5, 40, 0, 3, {21, 16, 37, 0}, 1.3619288},
        {"corner pocket jaw from the long side", -15, 42.5, -5, 0, {14, 23, 2, 35}, 1.4171573},
        {"side pocket jaw", -21, 0, -1, -2, {7, 30, 9, 28}, 0.9527864},
        {"at rest", 3, 3, 0, 0, {-1, -1, -1, -1}, -1},
    };
    const double mirrors[4][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
    setUpHeadlessGame();
    for (const auto& c : cases)
        for (int m = 0; m < 4; ++m) {
            const double sx = mirrors[m][0], sz = mirrors[m][1];
            int feature = -7;
            const double t = table->timeToHit(place(0, sx * c.x, sz * c.z, sx * c.vx, sz * c.vz), feature);
            EXPECT_EQ(feature, c.feature[m]) << c.what << ", mirror " << m;
            EXPECT_NEAR(t, c.t, 1e-6) << c.what << ", mirror " << m;
        }
    int feature = -7;
    place(0, 0, 40, 0, 3).pocketed = true;
    EXPECT_EQ(table->timeToHit(balls[0], feature), -1.0);
    EXPECT_EQ(feature, -1);
}

TEST(TableCollide, CushionsAndCornersReturnSeventyPercentPocketsDropTheBall) {
    const struct { int index, feature; double x, z, vx, vz; const char* line; double vxAfter, vzAfter, y; } cases[] = {
        {13, 20, 0, 43, 0, 3, "Ball  6 collided with wall   20\n", 0, -2.1, 1},
        {0, 20, 5, 43, 1, 3, "Ball  0 collided with wall   20\n", 1, -2.1, 1},
        {0, 24, 18.4, 43.2, 0, 1, "Ball  0 collided with corner 24\n", -0.816, -0.088, 1}, // 1 from (19, 44)
        {0, 12, -22.5, 0, -3, 0, "Ball  0 collided with pocket 12\n", 0, 0, -2},
        {12, 33, 22.5, 0, 3, 0, "Ball 15 collided with pocket 33\n", 0, 0, -32},
    };
    for (const auto& c : cases) {
        setUpHeadlessGame();
        Ball& ball = place(c.index, c.x, c.z, c.vx, c.vz);
        table->collide(ball, c.feature);
        const ContactKind kind = std::strstr(c.line, "wall")     ? ContactKind::Cushion
                                 : std::strstr(c.line, "corner") ? ContactKind::Corner
                                                                 : ContactKind::Pocket;
        EXPECT_EQ(table->contactKind(c.feature), kind) << c.line;
        EXPECT_NEAR(ball.velocity.x, c.vxAfter, 1e-12) << c.line;
        EXPECT_NEAR(ball.velocity.z, c.vzAfter, 1e-12) << c.line;
        EXPECT_EQ(ball.position.y, c.y) << c.line;
        EXPECT_EQ(ball.pocketed, c.y < 0) << c.line;
        // A ball that rolls on decelerates at 2 units/s^2 against its new velocity.
        EXPECT_NEAR(ball.acceleration.dot(ball.velocity), -2 * ball.velocity.length(), 1e-12) << c.line;
        EXPECT_NEAR(ball.acceleration.length(), c.y > 0 ? 2 : 0, 1e-12) << c.line;
    }
}
