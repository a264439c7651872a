// The network game's messages: the handshake, the game's events as a record writes them, and the
// end of a game that parted; each encoded as one line of text and decoded with every field
// checked.
#pragma once

#include <cstdint>
#include <string>

#include "sim/record.h"

// A new layout or meaning of the messages gets a new number; both sides must have the same.
constexpr int PROTOCOL_VERSION = 1;
// No message is longer: a longer one is refused unread.
constexpr std::size_t LONGEST_MESSAGE = 200; // bytes

enum class MessageKind {
    Hello,   // hello PROGRAM PROTOCOL CONSTANTS KEY: the joiner introduces itself
    Welcome, // welcome: the host takes the joiner as player 2
    Refused, // refused REASON...: the host turns the joiner away
    Event,   // one of the game's events, as a record line without its time
    Parted,  // parted SHOT: the two games' states differ at that shot's end
};

struct Message {
    MessageKind kind = MessageKind::Event;
    std::string program;         // hello: the program's version
    int protocol = 0;            // hello
    std::uint64_t constants = 0; // hello: gameConstantsHash() of the sender's build
    std::uint64_t key = 0;       // hello: the hash of the shared word, 0 without one
    std::string reason;          // refused
    RecordEvent event;           // event
    int shot = 0;                // parted: from 1
};

std::string encodeMessage(const Message& message);
// Reads one message; false with `error` set for anything but a well-formed message whose
// fields lie in their ranges (an event's as a record's line: finite angles, power in (0, 100],
// frame time in (0, 0.25] s, spots on the free area).
bool decodeMessage(const std::string& bytes, Message& message, std::string& error);

// The hash of a word as the handshake carries it: 0 for none.
std::uint64_t keyHash(const std::string& word);

// Events only the player at the table makes: the other side's are refused, and a side sends
// them only in its own turn.
bool turnBound(RecordEventKind kind);
