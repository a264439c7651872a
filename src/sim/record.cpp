// Records: events as lines of text, read back with every field checked, played on a game.
#include "sim/record.h"

#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <sstream>

#include "sim/contact.h"
#include "sim/strike.h"

namespace {
constexpr std::size_t LONGEST_LINE = 200; // characters: twice the longest event's line

struct KindName {
    RecordEventKind kind;
    const char* name;
};
constexpr KindName KIND_NAMES[] = {
    {RecordEventKind::NewGame, "new"},   {RecordEventKind::Aim, "aim"},
    {RecordEventKind::Pull, "pull"},     {RecordEventKind::Hover, "hover"},
    {RecordEventKind::Place, "place"},   {RecordEventKind::Strike, "strike"},
    {RecordEventKind::Frame, "frame"},   {RecordEventKind::Play, "play"},
    {RecordEventKind::End, "end"},       {RecordEventKind::Clear, "clear"},
    {RecordEventKind::Respot, "respot"}, {RecordEventKind::Think, "think"},
};

const char* nameOf(RecordEventKind kind) {
    for (const KindName& k : KIND_NAMES)
        if (k.kind == kind) return k.name;
    return "?";
}

std::string number(double v) {
    char text[32];
    std::snprintf(text, sizeof text, "%.17g", v);
    return text;
}

// A whole word as a finite double, with nothing left over.
bool readNumber(const std::string& word, double& value) {
    if (word.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(word.c_str(), &end);
    return *end == '\0' && errno != ERANGE && std::isfinite(value);
}

bool readWhole(const std::string& word, long long low, long long high, long long& value) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos) return false;
    errno = 0;
    value = std::strtoll(word.c_str(), nullptr, 10);
    return errno != ERANGE && value >= low && value <= high;
}

bool readHash(const std::string& word, std::uint64_t& hash) {
    if (word.size() != 16 || word.find_first_not_of("0123456789abcdef") != std::string::npos)
        return false;
    hash = std::strtoull(word.c_str(), nullptr, 16);
    return true;
}

// The words of a line after its kind, and its `at=SECONDS` if it ends with one.
bool splitLine(const std::string& line, std::string& kind, std::string words[2], int& count,
               double& at, std::string& error) {
    std::istringstream in(line);
    in >> kind;
    count = 0;
    for (std::string word; in >> word;) {
        if (word.compare(0, 3, "at=") == 0) {
            if (!readNumber(word.substr(3), at) || at < 0.0)
                return error = "the time '" + word + "' is not a number of seconds", false;
            if (in >> word) return error = "words after the time", false;
            return true;
        }
        if (count == 2) return error = "too many words", false;
        words[count++] = word;
    }
    return true;
}

int wordsOf(RecordEventKind kind) {
    switch (kind) {
    case RecordEventKind::Hover:
    case RecordEventKind::Place:
    case RecordEventKind::Strike: return 2;
    case RecordEventKind::Clear:
    case RecordEventKind::Respot: return 0;
    default: return 1;
    }
}

bool onFreeArea(double x, double z) {
    return std::fabs(x) <= FREE_HALF_WIDTH && std::fabs(z) <= FREE_HALF_LENGTH;
}

// The fields of an event of a known kind from its words.
std::string readFields(RecordEvent& e, const std::string w[2]) {
    long long whole = 0;
    switch (e.kind) {
    case RecordEventKind::NewGame:
        if (!readWhole(w[0], 0, 1, whole)) return "the breaker '" + w[0] + "' is not 0 or 1";
        e.player = int(whole);
        return "";
    case RecordEventKind::Aim:
        return readNumber(w[0], e.value) ? "" : "the angle '" + w[0] + "' is not finite";
    case RecordEventKind::Pull:
        if (readNumber(w[0], e.value) && e.value >= 0.0 && e.value <= MAX_SHOT_POWER) return "";
        return "the pull '" + w[0] + "' is outside 0 to " + number(MAX_SHOT_POWER);
    case RecordEventKind::Hover:
    case RecordEventKind::Place:
        if (readNumber(w[0], e.x) && readNumber(w[1], e.z) && onFreeArea(e.x, e.z)) return "";
        return "the spot '" + w[0] + " " + w[1] + "' is not on the free area";
    case RecordEventKind::Strike:
        if (!readWhole(w[0], 1, 2, whole)) return "the player '" + w[0] + "' is not 1 or 2";
        e.player = int(whole);
        if (readNumber(w[1], e.value) && e.value > 0.0 && e.value <= MAX_SHOT_POWER) return "";
        return "the power '" + w[1] + "' is outside (0, " + number(MAX_SHOT_POWER) + "]";
    case RecordEventKind::Frame:
    case RecordEventKind::Play:
        if (readNumber(w[0], e.value) && e.value > 0.0 && e.value <= LONGEST_FRAME_TIME) return "";
        return "the frame time '" + w[0] + "' is outside (0, " + number(LONGEST_FRAME_TIME) + "] s";
    case RecordEventKind::End:
        return readHash(w[0], e.hash) ? "" : "the hash '" + w[0] + "' is not 16 hex digits";
    case RecordEventKind::Think:
        if (!readWhole(w[0], 0, LONG_MAX, whole))
            return "the decision time '" + w[0] + "' is not a whole number of microseconds";
        e.micros = long(whole);
        return "";
    default: return "";
    }
}
} // namespace

std::string formatEvent(const RecordEvent& e) {
    std::string line = nameOf(e.kind);
    switch (e.kind) {
    case RecordEventKind::NewGame: line += " " + std::to_string(e.player); break;
    case RecordEventKind::Hover:
    case RecordEventKind::Place: line += " " + number(e.x) + " " + number(e.z); break;
    case RecordEventKind::Strike:
        line += " " + std::to_string(e.player) + " " + number(e.value);
        break;
    case RecordEventKind::End: {
        char hex[17];
        std::snprintf(hex, sizeof hex, "%016" PRIx64, e.hash);
        line += std::string(" ") + hex;
        break;
    }
    case RecordEventKind::Think: line += " " + std::to_string(e.micros); break;
    case RecordEventKind::Clear:
    case RecordEventKind::Respot: break;
    default: line += " " + number(e.value); break;
    }
    if (e.at >= 0.0) {
        char at[32];
        std::snprintf(at, sizeof at, " at=%.3f", e.at);
        line += at;
    }
    return line;
}

bool parseEvent(const std::string& line, RecordEvent& event, std::string& error) {
    std::string kind, words[2];
    int count = 0;
    RecordEvent e;
    if (!splitLine(line, kind, words, count, e.at, error)) return false;
    const KindName* found = nullptr;
    for (const KindName& k : KIND_NAMES)
        if (kind == k.name) found = &k;
    if (!found) return error = "'" + kind + "' is no event", false;
    e.kind = found->kind;
    if (count != wordsOf(e.kind))
        return error = kind + " takes " + std::to_string(wordsOf(e.kind)) + " values, not " +
                       std::to_string(count),
               false;
    error = readFields(e, words);
    if (!error.empty()) return false;
    event = e;
    return true;
}

bool RecordReader::nextLine(std::string& line, std::string& error) {
    error.clear();
    for (;;) {
        line.clear();
        int c = 0;
        while ((c = std::fgetc(file)) != EOF && c != '\n')
            if (line.size() <= LONGEST_LINE) line += char(c);
        if (c == EOF && line.empty()) return false;
        ++lines;
        if (c == EOF) return error = "the line is cut short", false;
        if (line.size() > LONGEST_LINE) return error = "the line is too long", false;
        const std::size_t first = line.find_first_not_of(" \t\r");
        if (first != std::string::npos && line[first] != '#') return true;
    }
}

bool RecordReader::readHeader(std::string& error) {
    std::string line;
    if (!nextLine(line, error)) {
        if (error.empty()) error = "the record is empty";
        return false;
    }
    if (line == RECORD_HEADER) return true;
    return error = "not a record: the first line is not '" + std::string(RECORD_HEADER) + "'",
           false;
}

bool RecordPlayer::check(const RecordEvent& e, const Game& game, std::string& error) const {
    const Referee& referee = game.referee;
    if (endDue && e.kind != RecordEventKind::End)
        return error = "shot " + std::to_string(shotsEnded + 1) + " ended, but its end is missing",
               false;
    switch (e.kind) {
    case RecordEventKind::Hover:
    case RecordEventKind::Place:
        if (!referee.isPlacingCueBall()) return error = "no ball in hand", false;
        if (e.kind == RecordEventKind::Place && !game.spotFree(e.x, e.z))
            return error = "the spot " + number(e.x) + " " + number(e.z) + " is on a ball", false;
        return true;
    case RecordEventKind::Strike:
        if (e.player != referee.currentPlayerNumber())
            return error = "player " + std::to_string(e.player) + " is not at the table", false;
        if (!referee.allows(Action::Strike) || referee.isPlacingCueBall() || game.balls[0].pocketed)
            return error = "no shot can be struck now", false;
        return true;
    case RecordEventKind::Frame:
    case RecordEventKind::Play:
        if (referee.playState != PlayState::Shooting) return error = "no shot under way", false;
        return true;
    case RecordEventKind::End:
        if (!endDue) return error = "no shot has ended", false;
        if (game.hash() == e.hash) return true;
        return error = "shot " + std::to_string(shotsEnded + 1) +
                       " ends in a state that differs from the record's",
               false;
    case RecordEventKind::Clear:
        if (!referee.allows(Action::ClearTable))
            return error = "the table cannot be cleared now", false;
        return true;
    case RecordEventKind::Respot:
        if (!referee.allows(Action::Respot) ||
            !game.spotFree(rack[0].position[0], rack[0].position[2]))
            return error = "the cue ball cannot be re-spotted now", false;
        return true;
    default: return true;
    }
}

void RecordPlayer::played(const RecordEvent& e, const Game& game) {
    switch (e.kind) {
    case RecordEventKind::Aim: aim = e.value; break;
    case RecordEventKind::Frame:
    case RecordEventKind::Play: endDue = game.referee.playState != PlayState::Shooting; break;
    case RecordEventKind::End:
        endDue = false;
        ++shotsEnded;
        break;
    default: break;
    }
}

bool RecordPlayer::apply(const RecordEvent& e, Game& game, ContactHook& hook, std::string& error) {
    if (!check(e, game, error)) return false;
    switch (e.kind) {
    case RecordEventKind::NewGame: game.newGame(e.player); break;
    case RecordEventKind::Hover: game.balls[0].position = Vec3(e.x, PLACING_HEIGHT, e.z); break;
    case RecordEventKind::Place: game.placeCueBall(e.x, e.z); break;
    case RecordEventKind::Strike: game.strike(aim, e.value); break;
    case RecordEventKind::Frame:
        game.playFrame(e.value, hook);
        if (game.atRest()) game.endShot();
        break;
    case RecordEventKind::Play: game.playShot(e.value, hook, MAX_SHOT_FRAMES); break;
    case RecordEventKind::Clear: game.clearTable(); break;
    case RecordEventKind::Respot: game.respotCueBall(); break;
    default: break;
    }
    played(e, game);
    return true;
}
