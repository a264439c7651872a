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

// A joiner refused at the handshake is told why, and the host waits on for another; a third peer
// is turned away at once while the game plays on; a peer that leaves ends the game on the other
// side with a note on the panel.
TEST(NetworkGame, TheHostLetsInOnlyItsOneOpponent) {
    const struct {
        NetSession::Settings joiner;
        const char* note;
    } refusals[] = {
        {settings(false, "", "9.9.9"), "Refused"}, // another version
        {settings(false, "wrong"), "Refused"},     // the host's word is "right"
    };
    NetSession host;
    std::string error;
    ASSERT_TRUE(host.start(settings(true, "right"), error)) << error;
    for (const auto& r : refusals) {
        NetSession joiner;
        ASSERT_TRUE(joiner.start(r.joiner, error)) << error;
        EXPECT_TRUE(
            serviceUntil(host, joiner, [&] { return joiner.state() == NetSession::State::Ended; }));
        EXPECT_EQ(joiner.status(), r.note);
        EXPECT_EQ(host.state(), NetSession::State::Connecting) << "the host waits on";
    }
    NetSession joiner, third;
    ASSERT_TRUE(joiner.start(settings(false, "right"), error)) << error;
    EXPECT_TRUE(
        serviceUntil(host, joiner, [&] { return host.state() == NetSession::State::Playing; }));
    ASSERT_TRUE(third.start(settings(false, "right"), error)) << error;
    EXPECT_TRUE(
        serviceUntil(host, third, [&] { return third.state() == NetSession::State::Ended; }));
    EXPECT_EQ(third.status(), "Turned away");
    EXPECT_EQ(host.state(), NetSession::State::Playing);
    joiner.end("Left", "the test closes it");
    EXPECT_TRUE(
        serviceUntil(host, joiner, [&] { return host.state() == NetSession::State::Ended; }));
    EXPECT_EQ(host.status(), "Opponent gone");
}

// Each kind of bad message from the joiner ends the game at the host, with the joiner's address
// named, and changes nothing of the host's game.
TEST(NetworkGame, ABadMessageEndsTheGameAndChangesNothing) {
    const std::string line = "Bad message";
    const char* const bad[] = {
        "aim nan",
        "strike 2 1000",
        "frame 10",
        "place 0 -22",  // off its range, on the apex ball
        "strike 2 100", // the host's turn, not the joiner's
        "new 0",
        "clear",
        "hello 1.0.0 1 0000000000000000 0000000000000000",
        "welcome",
        "frame 0.016",          // no shot under way
        "end 0123456789abcdef", // the end of no shot
        "\x01\x02",
        "fly to the moon",
    };
    for (const char* message : bad) {
        SCOPED_TRACE(message);
        NetSession host;
        Connection joiner;
        std::string error;
        ASSERT_TRUE(host.start(settings(true), error)) << error;
        ASSERT_TRUE(joiner.join("127.0.0.1", port(), error)) << error;
        Message hello;
        hello.kind = MessageKind::Hello, hello.program = "1.0.0";
        hello.protocol = PROTOCOL_VERSION, hello.constants = gameConstantsHash();
        bool greeted = false;
        for (int round = 0; round < LONG_WAIT && host.state() != NetSession::State::Playing;
             ++round) {
            host.service(1);
            if (joiner.poll(1).kind == Connection::EventKind::Connected && !greeted)
                joiner.send(encodeMessage(hello)), greeted = true;
        }
        ASSERT_EQ(host.state(), NetSession::State::Playing);
        testing::internal::CaptureStderr();
        joiner.send(message);
        const Game before;
        Game game;
        RecordEvent event;
        for (int round = 0; round < LONG_WAIT && host.state() == NetSession::State::Playing;
             ++round) {
            joiner.poll(0);
            host.service(1);
            EXPECT_FALSE(host.nextEvent(game, event)) << "nothing is played";
        }
        EXPECT_EQ(host.status(), line);
        EXPECT_NE(testing::internal::GetCapturedStderr().find("127.0.0.1:"), std::string::npos);
        EXPECT_EQ(game, before);
    }
}
