// The table's features and the contacts of a ball with cushions, corners and pockets.
#include "sim_test_util.h"

namespace {
constexpr double SPEED = 10.0; // units/s
// Balls start this far short of their contact: from further back, a ball sent at a corner
// pocket's jaw along its normal grazes the pocket's circle first.
constexpr double GAP = 0.25; // world units

Vec3 flat(const Vec3& v) { return Vec3(v.x, 0.0, v.z); }

// The cue ball's first contact, with where it was and how it left.
struct FirstContact final : ContactHook {
    bool met = false;
    Contact first{};
    Vec3 position, velocity;
    void contact(const Contact& c) override {
        if (!met) met = true, first = c, position = balls[0].position, velocity = balls[0].velocity;
    }
};

void expectSentBack(const Vec3& velocity, const Vec3& out, double speedBefore) {
    EXPECT_NEAR(velocity.x, out.x * CUSHION_RESTITUTION * speedBefore, 1e-9);
    EXPECT_NEAR(velocity.z, out.z * CUSHION_RESTITUTION * speedBefore, 1e-9);
}

// The cue ball alone, sent at feature k against `out`, meets k first with its centre `reach`
// from `nearest`, the feature's point nearest it (the contact is found on the straight line but
// reached on the slowing course); then it drops or goes back along `out` at the cushion's share
// of its speed.
void expectMet(int k, const Vec3& nearest, const Vec3& out, double reach, ContactKind kind) {
    keepOnly({0});
    const Vec3 start = nearest + out * (reach + GAP);
    place(0, start.x, start.z, -SPEED * out.x, -SPEED * out.z);
    FirstContact c;
    for (int frame = 0; frame < 60 && !c.met; ++frame) testGame().playFrame(1.0 / 60, c);
    ASSERT_TRUE(c.met);
    EXPECT_EQ(c.first.other, k);
    EXPECT_EQ(c.first.kind, kind);
    EXPECT_NEAR(flat(c.position - nearest).length(), reach, 1e-3);
    EXPECT_EQ(balls[0].pocketed, kind == ContactKind::Pocket);
    if (kind != ContactKind::Pocket) expectSentBack(c.velocity, out, c.first.speedBefore);
}
} // namespace

// Every feature where the list puts it: a ball sent at the middle of a cushion along its normal,
// or straight out of a corner between its cushions, comes back along its path at 70% of its
// speed; one sent from the middle of a pocket's mouth (whose ends the list names just before the
// pocket) at its centre drops on the pocket's circle. A pocket's back and a side pocket's jaw lie
// within the pocket's reach at their middles, where a ball drops before it touches them; placed
// there, it is still sent back.
TEST(TableFeatures, EachIsMetWhereTheListPutsIt) {
    setUpHeadlessGame();
    const double radius = balls[0].radius;
    int behindPockets = 0;
    for (int k = 0; k < tableFeatureCount; ++k) {
        SCOPED_TRACE(testing::Message() << "feature " << k);
        const TableFeature& f = tableFeatures[k];
        if (f.kind == FeatureKind::Pocket) {
            const Vec3 mouth = (tableFeatures[k - 2].a + tableFeatures[k - 1].a) * 0.5;
            expectMet(k, f.a, flat(mouth - f.a).normalized(), f.radius, ContactKind::Pocket);
            continue;
        }
        const bool corner = f.kind == FeatureKind::Corner;
        Vec3 out = corner ? Vec3() : f.normal.normalized();
        const Vec3 middle = (f.a + f.b) * 0.5, touching = middle + out * radius;
        bool inReach = false; // a cushion's middle within a pocket's reach
        for (const TableFeature& g : tableFeatures) {
            if (corner && g.kind == FeatureKind::Cushion &&
                (flat(g.a - f.a).length() == 0.0 || flat(g.b - f.a).length() == 0.0))
                out = out + g.normal.normalized(); // between the cushions that end at the corner
            inReach |= g.kind == FeatureKind::Pocket && flat(touching - g.a).length() < g.radius;
        }
        if (corner) {
            expectMet(k, f.a, out.normalized(), radius, ContactKind::Corner);
        } else if (!inReach) {
            expectMet(k, middle, out, radius, ContactKind::Cushion);
        } else {
            ++behindPockets;
            keepOnly({0});
            table->collide(place(0, touching.x, touching.z, -SPEED * out.x, -SPEED * out.z), k);
            expectSentBack(balls[0].velocity, out, SPEED);
        }
    }
    EXPECT_EQ(behindPockets, 10); // six backs and the four jaws of the side pockets
}

TEST(TableTimeToHit, EachShotAndItsMirrorImagesReachTheirFeatures) {
    // A ball at (x, z) rolling at (vx, vz); then the same shot mirrored across x = 0, across z = 0
    // and across both. Times are on a straight line at constant speed.
    const struct {
        const char* what;
        double x, z, vx, vz;
        int feature[4];
        double t;
    } cases[] = {
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
            const Ball& ball = place(0, sx * c.x, sz * c.z, sx * c.vx, sz * c.vz);
            const double t = table->timeToHit(ball, feature);
            EXPECT_EQ(feature, c.feature[m]) << c.what << ", mirror " << m;
            EXPECT_NEAR(t, c.t, 1e-6) << c.what << ", mirror " << m;
        }
    int feature = -7;
    place(0, 0, 40, 0, 3).pocketed = true;
    EXPECT_EQ(table->timeToHit(balls[0], feature), -1.0);
    EXPECT_EQ(feature, -1);
}

// Off the normal: a cushion keeps the speed along it, a corner turns the ball about the line from
// the point; the ball rolls on. A pocketed ball rests below the table at a depth of its own.
TEST(TableCollide, ACushionKeepsTheSpeedAlongItACornerTurnsTheBallAPocketHoldsIt) {
    const struct {
        int index, feature;
        double x, z, vx, vz, vxAfter, vzAfter, y;
    } cases[] = {
        {0, 20, 5, 43, 1, 3, 1, -2.1, 1},
        {0, 24, 18.4, 43.2, 0, 1, -0.816, -0.088, 1}, // 1 from (19, 44)
        {0, 12, -22.5, 0, -3, 0, 0, 0, -2},
        {12, 33, 22.5, 0, 3, 0, 0, 0, -32}, // the 15
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "feature " << c.feature);
        setUpHeadlessGame();
        Ball& ball = place(c.index, c.x, c.z, c.vx, c.vz);
        table->collide(ball, c.feature);
        EXPECT_NEAR(ball.velocity.x, c.vxAfter, 1e-12);
        EXPECT_NEAR(ball.velocity.z, c.vzAfter, 1e-12);
        EXPECT_EQ(ball.position.y, c.y);
        EXPECT_EQ(ball.pocketed, c.y < 0);
        // A ball that rolls on decelerates at the rolling rate against its new velocity.
        EXPECT_NEAR(ball.acceleration.dot(ball.velocity),
                    -ROLLING_DECELERATION * ball.velocity.length(), 1e-12);
        EXPECT_NEAR(ball.acceleration.length(), c.y > 0 ? ROLLING_DECELERATION : 0, 1e-12);
    }
}
