// The network game's lockstep: the handshake, the opponent's events admitted against the game,
// the local ones sent, and each shot's end compared on both sides.
#include "net/session.h"

#include <cstdio>

namespace {
double secondsSince(std::chrono::steady_clock::time_point then) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - then).count();
}

Message helloFrom(const NetSession::Settings& settings) {
    Message hello;
    hello.kind = MessageKind::Hello;
    hello.program = settings.program;
    hello.protocol = PROTOCOL_VERSION;
    hello.constants = gameConstantsHash();
    hello.key = keyHash(settings.key);
    return hello;
}
} // namespace

bool NetSession::start(const Settings& s, std::string& error) {
    settings = s;
    const bool opened = s.hosting ? connection.host(s.address, s.port, error)
                                  : connection.join(s.address, s.port, error);
    status_ = s.hosting ? "Waiting for the other player on port " + std::to_string(s.port)
                        : "Joining " + s.address + ":" + std::to_string(s.port);
    started = std::chrono::steady_clock::now();
    return opened;
}

void NetSession::service(int waitMs) {
    if (state_ == State::Ended) return;
    for (Connection::Event event = connection.poll(waitMs);
         event.kind != Connection::EventKind::None && state_ != State::Ended;
         event = connection.poll(0))
        handle(event);
    if (aimPending && secondsSince(lastAimSent) >= AIM_SEND_INTERVAL) flushAim();
    // A host that does not answer is given up as a silent opponent would be.
    if (!settings.hosting && state_ == State::Connecting &&
        secondsSince(started) * 1000.0 > PEER_TIMEOUT_MS)
        end("No connection",
            "cannot reach " + settings.address + ":" + std::to_string(settings.port));
}

void NetSession::handle(const Connection::Event& event) {
    switch (event.kind) {
    case Connection::EventKind::Connected:
        if (!settings.hosting) connection.send(encodeMessage(helloFrom(settings)));
        break;
    case Connection::EventKind::Received: receive(event.bytes); break;
    case Connection::EventKind::Refused:
        if (settings.hosting) {
            std::fprintf(stderr, "pool: %s was turned away: the game has its players\n",
                         event.bytes.c_str());
        } else {
            end("Turned away", "the host has an opponent already");
        }
        break;
    case Connection::EventKind::Closed:
        if (state_ == State::Playing)
            end("Opponent gone", "the other player left, or the connection was lost");
        else
            end("No connection",
                "cannot reach " + settings.address + ":" + std::to_string(settings.port));
        break;
    default: break;
    }
}

void NetSession::receive(const std::string& bytes) {
    Message message;
    std::string error;
    if (!decodeMessage(bytes, message, error)) return badMessage(error);
    switch (message.kind) {
    case MessageKind::Hello:
        if (!settings.hosting || state_ != State::Connecting)
            return badMessage("a greeting out of turn");
        return greet(message);
    case MessageKind::Welcome:
        if (settings.hosting || state_ != State::Connecting)
            return badMessage("a welcome out of turn");
        state_ = State::Playing;
        began_ = true;
        status_.clear();
        return;
    case MessageKind::Refused: return end("Refused", "the host refused: " + message.reason);
    case MessageKind::Parted: return parted(message.shot, false);
    default:
        if (state_ != State::Playing) return badMessage("an event before the game began");
        inbox.push_back(message.event);
        return;
    }
}

// The joiner must run the same program on the same table, and know the word when there is one.
void NetSession::greet(const Message& hello) {
    const Message mine = helloFrom(settings);
    std::string why;
    if (hello.program != mine.program || hello.protocol != mine.protocol ||
        hello.constants != mine.constants)
        why = "this is pool " + mine.program + " (protocol " + std::to_string(mine.protocol) +
              "), the joiner pool " + hello.program + " (protocol " +
              std::to_string(hello.protocol) + ")" +
              (hello.constants != mine.constants ? " on another table" : "");
    else if (hello.key != mine.key) why = "the key does not match";
    Message reply;
    reply.kind = why.empty() ? MessageKind::Welcome : MessageKind::Refused;
    reply.reason = why;
    connection.send(encodeMessage(reply));
    if (!why.empty()) {
        std::fprintf(stderr, "pool: %s was refused: %s\n", connection.peerName().c_str(),
                     why.c_str());
        connection.close(); // and wait for another
        return;
    }
    state_ = State::Playing;
    began_ = true;
    status_.clear();
}

bool NetSession::remoteAtTable(const Game& game) const {
    return game.referee.currentPlayer != localSeat() && !game.referee.isGameOver();
}

void NetSession::send(const RecordEvent& event) {
    if (state_ != State::Playing) return;
    if (event.kind == RecordEventKind::Aim) {
        pendingAim = event;
        aimPending = true;
        if (secondsSince(lastAimSent) >= AIM_SEND_INTERVAL) flushAim();
        return;
    }
    flushAim();
    Message message;
    message.event = event;
    connection.send(encodeMessage(message));
}

void NetSession::flushAim() {
    if (!aimPending) return;
    aimPending = false;
    lastAimSent = std::chrono::steady_clock::now();
    Message message;
    message.event = pendingAim;
    connection.send(encodeMessage(message));
}

void NetSession::shotEnded(std::uint64_t hash, bool shotHere) {
    ++shots;
    if (shotHere) unconfirmed.push_back({shots, hash});
}

bool NetSession::nextEvent(const Game& game, RecordEvent& event) {
    while (state_ == State::Playing && !inbox.empty()) {
        const bool confirmation = inbox.front().kind == RecordEventKind::End && !player.endDue;
        std::string error;
        if (!admit(inbox.front(), game, error)) {
            if (state_ == State::Playing) badMessage(error);
            return false;
        }
        event = inbox.front();
        inbox.pop_front();
        if (!confirmation) return true; // the end of a shot shot here is matched and done
    }
    return false;
}

bool NetSession::admit(const RecordEvent& e, const Game& game, std::string& error) {
    if (e.kind == RecordEventKind::End && !player.endDue) { // the end of a shot shot here
        if (unconfirmed.empty()) return error = "the end of no shot", false;
        const ShotEnd mine = unconfirmed.front();
        unconfirmed.pop_front();
        if (mine.hash == e.hash) return true;
        parted(mine.shot, true);
        return false;
    }
    if (turnBound(e.kind) && !remoteAtTable(game) &&
        !(e.kind == RecordEventKind::Frame && game.referee.playState == PlayState::Shooting))
        return error = "a move out of its turn", false;
    if (e.kind == RecordEventKind::NewGame && (settings.hosting || !game.referee.isGameOver()))
        return error = "a new game it may not start", false;
    if (e.kind == RecordEventKind::Clear || e.kind == RecordEventKind::Play ||
        e.kind == RecordEventKind::Think)
        return error = "an event a network game does not take", false;
    if (player.check(e, game, error)) return true;
    if (e.kind == RecordEventKind::End) parted(shots, true);
    return false;
}

void NetSession::played(const RecordEvent& event, const Game& game) { player.played(event, game); }

void NetSession::badMessage(const std::string& error) {
    end("Bad message", connection.peerName() + " sent a bad message: " + error);
}

void NetSession::parted(int shot, bool tellOpponent) {
    if (tellOpponent) {
        Message message;
        message.kind = MessageKind::Parted;
        message.shot = shot;
        connection.send(encodeMessage(message));
    }
    end("Games parted", "the two games parted at the end of shot " + std::to_string(shot));
}

void NetSession::end(const std::string& note, const std::string& why) {
    if (state_ == State::Ended) return;
    connection.close();
    state_ = State::Ended;
    status_ = note;
    std::fprintf(stderr, "pool: the network game ends: %s\n", why.c_str());
}
