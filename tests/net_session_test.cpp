// Network play without a window: two sessions over loopback, the computer at both seats for a
// whole game, the same state hash on both sides after every shot; and every way in which a
// network game ends early: a dropped peer, another version, a wrong key, a third peer, bad
// messages.
#include <gtest/gtest.h>
#include <unistd.h>

#include <functional>
#include <string>
#include <vector>

#include "ai/computer_player.h"
#include "net/session.h"
#include "sim/contact.h"

namespace {
constexpr double FRAME = 1.0 / 60.0; // seconds
constexpr int LONG_WAIT = 4000;      // service rounds before a test gives up

int port() { return 20000 + int(getpid() % 20000); }

NetSession::Settings settings(bool hosting, const std::string& key = "",
                              const std::string& program = "1.0.0") {
    NetSession::Settings s;
    s.hosting = hosting;
    s.address = hosting ? "127.0.0.1" : "127.0.0.1";
    s.port = port();
    s.key = key;
    s.program = program;
    return s;
}

// One machine of the game: its session, its game, and its computer player for its seat.
struct Side {
    NetSession session;
    Game game;
    ComputerPlayer computer{3};
    RecordPlayer player; // the opponent's events as this side plays them
    std::vector<std::uint64_t> ends;
    SilentContacts silent;

    // A shot of its own: each event played here and sent.
    void shoot() {
        const ShotPlan plan = computer.choose(game);
        if (plan.placesCueBall) {
            game.placeCueBall(plan.spot.x, plan.spot.z);
            session.send(RecordEvent::spot(RecordEventKind::Place, plan.spot.x, plan.spot.z));
        }
        session.send(RecordEvent::of(RecordEventKind::Aim, plan.angle));
        session.send(RecordEvent::strike(game.referee.currentPlayerNumber(), plan.power));
        game.strike(plan.angle, plan.power);
        while (!game.atRest()) {
            game.playFrame(FRAME, silent);
            session.send(RecordEvent::of(RecordEventKind::Frame, FRAME));
        }
        endShot(true);
    }
    void endShot(bool shotHere) {
        game.endShot();
        ends.push_back(game.hash());
        session.shotEnded(game.hash(), shotHere);
        session.send(RecordEvent::end(game.hash()));
    }
    // The opponent's events that have come, played as they fit.
    void follow() {
        RecordEvent e;
        while (session.nextEvent(game, e)) {
            std::string error;
            const bool ended = e.kind == RecordEventKind::Frame;
            ASSERT_TRUE(player.apply(e, game, silent, error)) << error;
            if (ended && player.endDue) {
                ends.push_back(game.hash());
                session.shotEnded(game.hash(), false);
                session.send(RecordEvent::end(game.hash()));
            }
            session.played(e, game);
        }
    }
};

// Services both sides until `done` holds, or a long while has passed.
bool serviceUntil(NetSession& a, NetSession& b, const std::function<bool()>& done) {
    for (int round = 0; round < LONG_WAIT && !done(); ++round) {
        a.service(1);
        b.service(1);
    }
    return done();
}
} // namespace

TEST(NetworkGame, BothSidesPlayAWholeGameToTheSameHashAfterEveryShot) {
    Side host, joiner;
    std::string error;
    ASSERT_TRUE(host.session.start(settings(true), error)) << error;
    ASSERT_TRUE(joiner.session.start(settings(false), error)) << error;
    const auto playing = [&] {
        return host.session.state() == NetSession::State::Playing &&
               joiner.session.state() == NetSession::State::Playing;
    };
    ASSERT_TRUE(serviceUntil(host.session, joiner.session, playing));
    host.computer.newGame(1), joiner.computer.newGame(2);
    for (int shot = 0; shot < 300 && !host.game.referee.isGameOver(); ++shot) {
        Side& shooter = host.session.remoteAtTable(host.game) ? joiner : host;
        Side& other = &shooter == &host ? joiner : host;
        shooter.shoot();
        ASSERT_TRUE(serviceUntil(host.session, joiner.session,
                                 [&] {
                                     other.follow();
                                     shooter.follow(); // the other's end of the shot, matched
                                     return other.ends.size() == shooter.ends.size() &&
                                            shooter.session.unconfirmedShots() == 0;
                                 }))
            << "shot " << shot;
    }
    EXPECT_TRUE(host.game.referee.isGameOver());
    EXPECT_EQ(host.ends, joiner.ends);
    EXPECT_EQ(host.game, joiner.game);
    EXPECT_EQ(host.session.state(), NetSession::State::Playing) << host.session.status();
    EXPECT_EQ(joiner.session.state(), NetSession::State::Playing) << joiner.session.status();
}
