// The connection over ENet: one reliable ordered channel, one opponent, time-outs from ENet.
#include "net/connection.h"

#include <enet/enet.h>

#include <cstdlib>

namespace {
constexpr std::size_t HOST_PEERS = 2; // the opponent, and a slot to turn a latecomer away
constexpr enet_uint8 CHANNEL = 0;
constexpr enet_uint32 REFUSED = 1; // disconnect data: the host had an opponent already

bool initialise() {
    static const bool done = enet_initialize() == 0 && std::atexit(enet_deinitialize) == 0;
    return done;
}

std::string nameOf(const ENetAddress& address) {
    char ip[64] = "?";
    enet_address_get_host_ip(&address, ip, sizeof ip);
    return std::string(ip) + ":" + std::to_string(address.port);
}

bool resolve(const std::string& name, int port, ENetAddress& address, std::string& error) {
    address.host = ENET_HOST_ANY;
    address.port = enet_uint16(port);
    if (name.empty() || enet_address_set_host(&address, name.c_str()) == 0) return true;
    error = "cannot find the host '" + name + "'";
    return false;
}
} // namespace

Connection::Connection() { initialise(); }

Connection::~Connection() {
    if (host_) enet_host_destroy(host_);
}

bool Connection::host(const std::string& address, int port, std::string& error) {
    ENetAddress at;
    if (!resolve(address, port, at, error)) return false;
    host_ = enet_host_create(&at, HOST_PEERS, 1, 0, 0);
    if (host_) return true;
    error = "cannot listen on port " + std::to_string(port) + " (is it in use?)";
    return false;
}

bool Connection::join(const std::string& hostName, int port, std::string& error) {
    ENetAddress at;
    if (!resolve(hostName, port, at, error)) return false;
    host_ = enet_host_create(nullptr, 1, 1, 0, 0);
    if (!host_) return error = "cannot open a network socket", false;
    peer_ = enet_host_connect(host_, &at, 1, 0);
    if (!peer_) return error = "cannot connect to " + hostName, false;
    enet_peer_timeout(peer_, 0, PEER_TIMEOUT_MS / 2, PEER_TIMEOUT_MS);
    return true;
}

void Connection::send(const std::string& bytes) {
    if (!peer_ || peer_->state != ENET_PEER_STATE_CONNECTED) return;
    ENetPacket* packet = enet_packet_create(bytes.data(), bytes.size(), ENET_PACKET_FLAG_RELIABLE);
    if (enet_peer_send(peer_, CHANNEL, packet) != 0) enet_packet_destroy(packet);
}

Connection::Event Connection::poll(int waitMs) {
    Event result;
    ENetEvent event;
    if (!host_ || enet_host_service(host_, &event, enet_uint32(waitMs)) <= 0) return result;
    switch (event.type) {
    case ENET_EVENT_TYPE_CONNECT:
        if (peer_ && peer_ != event.peer) {
            enet_peer_disconnect_now(event.peer, REFUSED); // one opponent at a time
            result.kind = EventKind::Refused;
            result.bytes = nameOf(event.peer->address);
            break;
        }
        peer_ = event.peer;
        peerName_ = nameOf(peer_->address);
        enet_peer_timeout(peer_, 0, PEER_TIMEOUT_MS / 2, PEER_TIMEOUT_MS);
        result.kind = EventKind::Connected;
        break;
    case ENET_EVENT_TYPE_RECEIVE:
        if (event.peer == peer_) {
            result.kind = EventKind::Received;
            result.bytes.assign(reinterpret_cast<const char*>(event.packet->data),
                                event.packet->dataLength);
        }
        enet_packet_destroy(event.packet);
        break;
    case ENET_EVENT_TYPE_DISCONNECT:
        if (event.peer != peer_) break;
        peer_ = nullptr;
        result.kind = event.data == REFUSED ? EventKind::Refused : EventKind::Closed;
        break;
    default: break;
    }
    return result;
}

void Connection::close() {
    if (!peer_) return;
    enet_peer_disconnect_later(peer_, 0);
    enet_host_flush(host_);
    peer_ = nullptr;
}
