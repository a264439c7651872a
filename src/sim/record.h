// A game's record: one event per line of text, as the window or a headless match played it,
// written, read back with every field checked, and played again on a game exactly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "sim/game.h"

class ContactHook;

// The record's first line; a new layout of the lines gets a new number.
constexpr const char* RECORD_HEADER = "pool-record 1";

enum class RecordEventKind {
    NewGame, // new BREAKER: the rack, broken by player BREAKER + 1
    Aim,     // aim DEGREES: the cue's aim after a turn
    Pull,    // pull UNITS: the cue drawn back (shown only)
    Hover,   // hover X Z: the ball in hand moved over the table (shown only)
    Place,   // place X Z: the ball in hand put down
    Strike,  // strike PLAYER POWER: the cue ball struck along the aim at POWER units/s
    Frame,   // frame SECONDS: one frame of the shot under way
    Play,    // play SECONDS: the shot under way played to its end at that frame time
    End,     // end HASH: the shot judged, the game's state hash (16 hex digits) after it
    Clear,   // clear: every object ball but the eight pocketed
    Respot,  // respot: the cue ball back on its start spot
    Think,   // think MICROSECONDS: how long the player took to decide (a match's statistics)
};

struct RecordEvent {
    RecordEventKind kind = RecordEventKind::NewGame;
    double at = -1.0;        // seconds since the record began, -1 when the line gives none
    double value = 0.0;      // degrees, units, units/s or seconds, as the kind says
    double x = 0.0, z = 0.0; // world units: a spot of the ball in hand
    int player = 0;          // new: the breaker, 0 or 1; strike: the shooter, 1 or 2
    std::uint64_t hash = 0;  // end
    long micros = 0;         // think

    static RecordEvent of(RecordEventKind kind, double value = 0.0) {
        RecordEvent e;
        e.kind = kind, e.value = value;
        return e;
    }
    static RecordEvent spot(RecordEventKind kind, double x, double z) {
        RecordEvent e = of(kind);
        e.x = x, e.z = z;
        return e;
    }
    static RecordEvent newGame(int breaker) {
        RecordEvent e = of(RecordEventKind::NewGame);
        e.player = breaker;
        return e;
    }
    static RecordEvent strike(int player, double power) {
        RecordEvent e = of(RecordEventKind::Strike, power);
        e.player = player;
        return e;
    }
    static RecordEvent end(std::uint64_t hash) {
        RecordEvent e = of(RecordEventKind::End);
        e.hash = hash;
        return e;
    }
    static RecordEvent think(long micros) {
        RecordEvent e = of(RecordEventKind::Think);
        e.micros = micros;
        return e;
    }
};

// The frame time a window can give, seconds: a longer pause is played as frames of this length.
constexpr double LONGEST_FRAME_TIME = 0.25;

// One event as its line, without the newline.
std::string formatEvent(const RecordEvent& event);
// Reads one line (without its newline) into `event`; false with `error` set when the line is
// not an event or a field is out of its range (an angle or spot that is not finite, a power
// outside (0, MAX_SHOT_POWER], a frame time outside (0, LONGEST_FRAME_TIME], a spot off the free
// area, a decision time that is no whole number).
bool parseEvent(const std::string& line, RecordEvent& event, std::string& error);

// Reads a record line by line, counting lines; blank lines and lines starting with '#' are
// passed over.
class RecordReader {
public:
    explicit RecordReader(std::FILE* file) : file(file) {}
    // The next line that holds something, without its newline. False at the end of the file
    // (`error` empty), or with `error` set for a line longer than any event's or one cut short
    // by the end of the file.
    bool nextLine(std::string& line, std::string& error);
    // The first line: false with `error` set unless it is RECORD_HEADER.
    bool readHeader(std::string& error);
    int lineNumber() const { return lines; }

private:
    std::FILE* file;
    int lines = 0;
};

// Plays a record's events on a game, each checked against it: a placement on a ball, a shot out
// of turn or while the cue ball lies in a pocket, a frame with no shot under way, or a state that
// differs from the record's at the end of a shot is refused.
class RecordPlayer {
public:
    // Whether the event fits the game now; false with `error` set when it does not.
    bool check(const RecordEvent& event, const Game& game, std::string& error) const;
    // Checks the event and plays it: frames to `hook`; false with `error` set on a refusal.
    bool apply(const RecordEvent& event, Game& game, ContactHook& hook, std::string& error);
    // Keeps count after the caller played a checked event its own way: the aim, and a shot that
    // ended waiting for its end line.
    void played(const RecordEvent& event, const Game& game);

    double aim = 0.0;    // degrees, as the record last turned the cue
    int shotsEnded = 0;  // end lines met
    bool endDue = false; // a shot ended and its end line is still to come
};
