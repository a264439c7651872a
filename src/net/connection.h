// One end of a network game's connection over ENet: a host that takes exactly one opponent and
// turns every later one away, or a joiner; messages reliable and in order, silence timed out.
#pragma once

#include <string>

struct _ENetHost;
struct _ENetPeer;

// A silent peer is given up after this long.
constexpr int PEER_TIMEOUT_MS = 8000;

class Connection {
public:
    enum class EventKind { None, Connected, Received, Closed, Refused };
    struct Event {
        EventKind kind = EventKind::None;
        std::string bytes; // received: the message
    };

    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // Listens on ADDRESS:PORT (an empty address: every interface). False with `error` set when
    // the address cannot be read or the port is taken.
    bool host(const std::string& address, int port, std::string& error);
    // Starts to connect to HOST:PORT; false with `error` set when the name cannot be resolved.
    bool join(const std::string& hostName, int port, std::string& error);
    // Sends one message to the opponent; nothing without one.
    void send(const std::string& bytes);
    // The next thing that happened, waiting at most `waitMs`. A second peer that comes to a host
    // is turned away at once and reported as Refused; the opponent leaving, or silent for
    // PEER_TIMEOUT_MS, is Closed.
    Event poll(int waitMs = 0);
    // Sends what is queued and closes the connection politely.
    void close();
    // The opponent as ADDRESS:PORT, or empty before one comes.
    const std::string& peerName() const { return peerName_; }
    bool hasPeer() const { return peer_ != nullptr; }

private:
    _ENetHost* host_ = nullptr;
    _ENetPeer* peer_ = nullptr;
    std::string peerName_;
};
