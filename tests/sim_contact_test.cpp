// The contact hook: what each contact reports.
#include <gtest/gtest.h>

#include <vector>

#include "sim/contact.h"
#include "sim/game.h"

namespace {
struct Recorder final : ContactHook {
    std::vector<Contact> contacts;
    void contact(const Contact& c) override { contacts.push_back(c); }
};

} // namespace

// Straight on, the cue ball meets the apex ball after 42 units, slowed by 2 units/s^2 from 100 to
// sqrt(100^2 - 2 * 2 * 42) units/s, and hands it all its speed; cushions and cushion ends return
// 70% of the normal speed; a pocket takes the ball.
TEST(ContactHook, EachContactReportsItsKindAndItsSpeedsAlongTheNormal) {
    Game game;
    Recorder recorder;
    game.strike(0.0, 100.0);
    game.playShot(1.0 / 60.0, recorder, 100000);
    const std::vector<Contact>& c = recorder.contacts;
    ASSERT_EQ(c.size(), 63u);
    EXPECT_EQ(c[0].ball, 0);
    EXPECT_EQ(c[0].other, 1);
    EXPECT_EQ(c[0].kind, ContactKind::Ball);
    EXPECT_NEAR(c[0].speedBefore, 99.15644, 1e-5);
    EXPECT_NEAR(c[0].speedAfter, 99.15644, 1e-5);
    int kinds[4] = {};
    for (const Contact& contact : c) {
        ++kinds[int(contact.kind)];
        EXPECT_GT(contact.speedBefore, 0.0);
        const double returned = contact.kind == ContactKind::Ball     ? 1.0
                                : contact.kind == ContactKind::Pocket ? 0.0
                                                                      : CUSHION_RESTITUTION;
        EXPECT_NEAR(contact.speedAfter, returned * contact.speedBefore, 1e-9);
    }
    for (ContactKind kind : {ContactKind::Ball, ContactKind::Cushion, ContactKind::Pocket})
        EXPECT_GT(kinds[int(kind)], 0) << "kind " << int(kind);
}
