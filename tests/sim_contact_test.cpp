// The contact hook (what each contact reports) and a game's state saved, played on and restored.
#include <gtest/gtest.h>

#include <vector>

#include "game_state_expect.h"
#include "render/headless.h"
#include "sim/contact.h"
#include "sim/game_state.h"
#include "sim/simulation.h"
#include "sim/strike.h"

namespace {
struct Recorder final : ContactHook {
    std::vector<Contact> contacts;
    void contact(const Contact& c) override { contacts.push_back(c); }
};

// The break (angle 0, power 100) played to rest at 1/60 s frames.
void playBreak(Ball* const balls[BALL_COUNT], const Table& table, Referee& referee,
               ContactHook& hook) {
    strikeBall(*balls[0], 0.0, 100.0);
    playShot(balls, table, referee, hook, 1.0 / 60.0, 100000);
}

} // namespace

// Straight on, the cue ball meets the apex ball after 42 units, slowed by 2 units/s^2 from 100 to
// sqrt(100^2 - 2 * 2 * 42) units/s, and hands it all its speed; cushions and cushion ends return
// 70% of the normal speed; a pocket takes the ball.
TEST(ContactHook, EachContactReportsItsKindAndItsSpeedsAlongTheNormal) {
    HeadlessGame game;
    Recorder recorder;
    playBreak(game.balls, game.table, game.referee, recorder);
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

// A search plays on copies silently (the computer player's test checks that the real game is
// untouched); a game played on and then restored is exactly as it was saved.
TEST(GameStateTest, ARestoreIsExact) {
    HeadlessGame game;
    const GameState saved = GameState::save(game.balls, game.referee);
    testing::internal::CaptureStdout();
    ConsoleContacts console;
    playBreak(game.balls, game.table, game.referee, console);
    EXPECT_EQ(testing::internal::GetCapturedStdout().substr(0, 32), "Ball  0 collided with ball    1\n");
    EXPECT_EQ(game.referee.tableState, TableState::OpenTable);
    saved.restore(game.balls, game.referee);
    expectAsSaved(saved, game.balls, game.referee);
}
