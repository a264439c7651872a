// A network game's lockstep: the handshake, whose seat is whose, the opponent's events checked
// against the game before they are played, the local events sent (the aim throttled), and every
// shot's end hash compared on both sides. No window: the app plays what this admits.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>

#include "net/connection.h"
#include "net/protocol.h"
#include "sim/game.h"
#include "sim/record.h"

// The aim is sent at most this often while it turns; the last one always before the strike.
constexpr double AIM_SEND_INTERVAL = 0.05; // seconds

class NetSession {
public:
    struct Settings {
        bool hosting = false;
        std::string address; // hosting: where to listen (empty: everywhere); joining: the host
        int port = 0;
        std::string key;     // the shared word, or empty
        std::string program; // this program's version
    };
    enum class State { Connecting, Playing, Ended };

    // Listens or starts to connect; false with `error` set when that fails at once (a port in
    // use, a host name that does not resolve).
    bool start(const Settings& settings, std::string& error);
    // Services the connection, waiting at most `waitMs`: the handshake, the opponent's events
    // queued, the pending aim sent when its time has come.
    void service(int waitMs = 0);
    // The seat played here: 0 (player 1) on the host, 1 on the joiner.
    int localSeat() const { return settings.hosting ? 0 : 1; }
    bool remoteAtTable(const Game& game) const;
    // An event of the game played here, sent to the opponent (a turning aim at most every
    // AIM_SEND_INTERVAL, the last aim before anything else).
    void send(const RecordEvent& event);
    // The opponent's next event to play, when it fits the game now (false when none has come,
    // or when one does not fit: the network game then ends, naming the opponent, and nothing is
    // played). The opponent's ends of shots shot here are matched on the way.
    bool nextEvent(const Game& game, RecordEvent& event);
    // After the app played the event its own way: the record of the shot's end kept.
    void played(const RecordEvent& event, const Game& game);
    // A shot ended here with this hash; when it was shot here (not the opponent's shot played
    // after it), the opponent's end of it must match.
    void shotEnded(std::uint64_t hash, bool shotHere);

    State state() const { return state_; }
    // Whether the game ever began: the handshake done.
    bool began() const { return began_; }
    // Shots shot here whose end the opponent has not yet matched.
    std::size_t unconfirmedShots() const { return unconfirmed.size(); }
    // What the status panel says of the network: empty while the game plays.
    const std::string& status() const { return status_; }
    // Ends the network game: `note` for the status panel, `why` on the error stream.
    void end(const std::string& note, const std::string& why);

private:
    void handle(const Connection::Event& event);
    void receive(const std::string& bytes);
    void greet(const Message& hello);
    void badMessage(const std::string& error);
    // The states differ at the end of `shot`: the game ends here, and at the opponent's too.
    void parted(int shot, bool tellOpponent);
    void flushAim();
    bool admit(const RecordEvent& event, const Game& game, std::string& error);

    Settings settings;
    Connection connection;
    State state_ = State::Connecting;
    bool began_ = false;
    std::string status_;
    std::deque<RecordEvent> inbox;
    struct ShotEnd {
        int shot;           // from 1, counted alike on both sides
        std::uint64_t hash; // the state after it
    };
    std::deque<ShotEnd> unconfirmed; // shots shot here, awaiting the opponent's end of them
    RecordPlayer player;             // the opponent's shots as this side plays them
    int shots = 0;                   // shots ended on this side
    bool aimPending = false;
    RecordEvent pendingAim;
    std::chrono::steady_clock::time_point lastAimSent;
    std::chrono::steady_clock::time_point started; // when this side began to host or join
};
