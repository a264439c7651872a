// Headless matches: whole games between two players, one line per game, the totals, and a log
// of every shot that plays the match again exactly.
#pragma once

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "ai/player.h"
#include "sim/record.h"

// A game without a winner ends after this many shots.
constexpr int MAX_GAME_SHOTS = 300;

// "1", "2" or "3": the computer at that level; "straight": the straight-shot player. Null for any
// other name.
std::unique_ptr<Player> makePlayer(const std::string& name);

// One shot of a match as the log keeps it.
struct ShotRecord {
    int game = 0;   // from 1
    int shot = 0;   // from 1 within the game
    int player = 0; // 1 or 2
    ShotPlan plan;
    double dt = 0.0;      // seconds per frame of this shot's playback
    long thinkMicros = 0; // microseconds the player took to decide
};

// Where a match's shots come from: the players themselves, or a log.
class ShotSource {
public:
    // Game `game` (from 1) begins, broken by `breaker` (0 or 1); false with `error` set when the
    // source disagrees.
    virtual bool newGame(int game, int breaker, std::string& error) = 0;
    // The next shot of the game in `state`; false with `error` set when there is none.
    virtual bool next(const Game& state, ShotRecord& record, std::string& error) = 0;
    // The shot has been played and judged; false with `error` set when it ended otherwise than
    // the source says.
    virtual bool shotEnded(const Game& state, std::string& error) = 0;

protected:
    ~ShotSource() = default;
};

struct MatchSettings {
    int games = 0;
    std::uint64_t seed = 0;
    std::string players[2]; // names as makePlayer takes them, player 1 first
};

// The players of the settings thinking for themselves; each shot's frame time is drawn from the
// seed within the usual display rates, as the game's real frame time varies.
class LiveShots final : public ShotSource {
public:
    explicit LiveShots(const MatchSettings& settings); // the names must be valid
    bool newGame(int game, int breaker, std::string& error) override;
    bool next(const Game& state, ShotRecord& record, std::string& error) override;
    bool shotEnded(const Game&, std::string&) override { return true; }

private:
    std::uint64_t seed;
    std::unique_ptr<Player> players[2];
    std::uint64_t frameTimeState = 0;
};

// The shots of a match's record, after its first two lines (read by readMatchHeader): each game
// begins with its new game, each shot is its decision time, ball in hand, aim, strike and play,
// and ends with the state's hash, which must be the game's.
class LoggedShots final : public ShotSource {
public:
    explicit LoggedShots(RecordReader& reader) : reader(reader) {}
    bool newGame(int game, int breaker, std::string& error) override;
    bool next(const Game& state, ShotRecord& record, std::string& error) override;
    bool shotEnded(const Game& state, std::string& error) override;
    // True when nothing is left but blank lines and comments.
    bool atEnd();

private:
    RecordReader& reader;
};

// A match record's second line, "match players=A,B seed=S games=G", into the settings; false
// with `error` set when it is not one.
bool parseMatchLine(const std::string& line, MatchSettings& settings, std::string& error);
// Reads a match record's first two lines into the settings; false with `error` set when they are
// not a match's.
bool readMatchHeader(RecordReader& reader, MatchSettings& settings, std::string& error);

// Plays the match on `game` (racked anew for every game; player 1 breaks the odd games, player 2
// the even ones). Prints one line per game and
// the totals on `out`, and every shot on `log` when it is not null. False with `error` set when
// a shot cannot be played (a log that does not fit the games).
bool runMatch(const MatchSettings& settings, ShotSource& source, Game& game, std::FILE* out,
              std::FILE* log, std::string& error);
