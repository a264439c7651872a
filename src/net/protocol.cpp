// The messages as lines of text: the handshake's words and the record's events.
#include "net/protocol.h"

#include <cinttypes>
#include <cstdio>
#include <sstream>

namespace {
constexpr std::uint64_t FNV_OFFSET = 0xcbf29ce484222325ull;
constexpr std::uint64_t FNV_PRIME = 0x100000001b3ull;

std::string hex(std::uint64_t value) {
    char text[17];
    std::snprintf(text, sizeof text, "%016" PRIx64, value);
    return text;
}

bool readHex(const std::string& word, std::uint64_t& value) {
    if (word.size() != 16 || word.find_first_not_of("0123456789abcdef") != std::string::npos)
        return false;
    value = std::strtoull(word.c_str(), nullptr, 16);
    return true;
}

// A version as the program prints it: digits and dots, a few of them.
bool readVersion(const std::string& word) {
    return !word.empty() && word.size() <= 20 &&
           word.find_first_not_of("0123456789.") == std::string::npos;
}

bool readHello(std::istringstream& in, Message& m, std::string& error) {
    std::string protocol, constants, key, extra;
    in >> m.program >> protocol >> constants >> key;
    if (!readVersion(m.program) || protocol.size() > 4 ||
        protocol.find_first_not_of("0123456789") != std::string::npos || protocol.empty() ||
        !readHex(constants, m.constants) || !readHex(key, m.key) || (in >> extra))
        return error = "a greeting out of shape", false;
    m.protocol = std::stoi(protocol);
    return true;
}

bool readParted(std::istringstream& in, Message& m, std::string& error) {
    std::string shot, extra;
    in >> shot;
    if (shot.empty() || shot.size() > 6 ||
        shot.find_first_not_of("0123456789") != std::string::npos || (in >> extra))
        return error = "a parting out of shape", false;
    m.shot = std::stoi(shot);
    return true;
}
} // namespace

std::string encodeMessage(const Message& m) {
    switch (m.kind) {
    case MessageKind::Hello:
        return "hello " + m.program + " " + std::to_string(m.protocol) + " " + hex(m.constants) +
               " " + hex(m.key);
    case MessageKind::Welcome: return "welcome";
    case MessageKind::Refused: return "refused " + m.reason;
    case MessageKind::Parted: return "parted " + std::to_string(m.shot);
    default: {
        RecordEvent event = m.event;
        event.at = -1.0; // the receiver plays it on arrival
        return formatEvent(event);
    }
    }
}

bool decodeMessage(const std::string& bytes, Message& message, std::string& error) {
    if (bytes.size() > LONGEST_MESSAGE) return error = "a message too long", false;
    for (const char c : bytes)
        if (c < ' ' || c > '~') return error = "a message with a byte that is not text", false;
    std::istringstream in(bytes);
    std::string word;
    in >> word;
    Message m;
    if (word == "hello") {
        m.kind = MessageKind::Hello;
        if (!readHello(in, m, error)) return false;
    } else if (word == "welcome") {
        m.kind = MessageKind::Welcome;
        if (in >> word) return error = "a welcome out of shape", false;
    } else if (word == "refused") {
        m.kind = MessageKind::Refused;
        m.reason = bytes.size() > 8 ? bytes.substr(8) : "";
    } else if (word == "parted") {
        m.kind = MessageKind::Parted;
        if (!readParted(in, m, error)) return false;
    } else {
        m.kind = MessageKind::Event;
        if (!parseEvent(bytes, m.event, error)) return false;
        if (m.event.at >= 0.0) return error = "an event with a time", false;
    }
    message = m;
    return true;
}

std::uint64_t keyHash(const std::string& word) {
    if (word.empty()) return 0;
    std::uint64_t h = FNV_OFFSET;
    for (const char c : word) h = (h ^ std::uint8_t(c)) * FNV_PRIME;
    return h == 0 ? 1 : h;
}

bool turnBound(RecordEventKind kind) {
    switch (kind) {
    case RecordEventKind::Aim:
    case RecordEventKind::Pull:
    case RecordEventKind::Hover:
    case RecordEventKind::Place:
    case RecordEventKind::Strike:
    case RecordEventKind::Frame:
    case RecordEventKind::Respot: return true;
    default: return false;
    }
}
