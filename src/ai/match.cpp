// The headless match: the game loop without a window, its statistics, and the shot log.
#include "ai/match.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <vector>

#include "ai/computer_player.h"
#include "ai/geometry.h"
#include "ai/straight_player.h"
#include "sim/contact.h"
#include "sim/strike.h"

namespace {
// Each shot's frame time lies between those of 75 and 50 frames a second.
constexpr double SHORTEST_FRAME = 1.0 / 75.0; // seconds
constexpr double LONGEST_FRAME = 1.0 / 50.0;  // seconds
constexpr double MICROS_PER_SECOND = 1e6;

// A well-mixed 64-bit value from a counter (splitmix64), for seeds of their own per game and
// seat.
std::uint64_t mix(std::uint64_t& state) {
    std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string describe(const std::string& name) {
    return name == "straight" ? "straight shots" : "level " + name;
}

struct PlayerTotals {
    int wins = 0;
    int shots = 0;
    int shotsAfterBreak = 0;
    int kept = 0;
    int scratches = 0;
    std::vector<long> thinkMicros;
};

struct GameResult {
    int winner = -1; // seat, -1 for none
    int shots[2] = {0, 0};
    const char* ending = "";
    bool runOut = false;
};

double share(int part, int whole) { return whole > 0 ? 100.0 * part / whole : 0.0; }

double seconds(long micros) { return micros / MICROS_PER_SECOND; }

void writeEvent(std::FILE* log, const RecordEvent& event) {
    std::fprintf(log, "%s\n", formatEvent(event).c_str());
}

// A shot as its record's events: decision time, ball in hand, aim, strike, play and the state's
// hash once it has been judged.
void writeShot(std::FILE* log, const ShotRecord& r, std::uint64_t hash) {
    writeEvent(log, RecordEvent::think(r.thinkMicros));
    if (r.plan.placesCueBall)
        writeEvent(log, RecordEvent::spot(RecordEventKind::Place, r.plan.spot.x, r.plan.spot.z));
    writeEvent(log, RecordEvent::of(RecordEventKind::Aim, r.plan.angle));
    writeEvent(log, RecordEvent::strike(r.player, r.plan.power));
    writeEvent(log, RecordEvent::of(RecordEventKind::Play, r.dt));
    writeEvent(log, RecordEvent::end(hash));
}

const char* endingOf(const Referee& referee, const Ball& cueBall) {
    if (!referee.isGameOver()) return "no winner after the shot limit";
    if (referee.won) return "the eight pocketed";
    return cueBall.pocketed ? "a scratch with the eight" : "the eight pocketed too early";
}

// A value as a message shows it.
std::string shown(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%g", value);
    return text;
}

// Plays one shot of the record on the real balls; false when the record does not fit the game.
bool playRecord(const ShotRecord& record, Game& game, std::string& error) {
    const Vec3& spot = record.plan.spot;
    if (record.plan.placesCueBall && !game.placeCueBall(spot.x, spot.z))
        return error = "game " + std::to_string(record.game) + " shot " +
                       std::to_string(record.shot) + ": the cue ball's spot " + shown(spot.x) +
                       "," + shown(spot.z) + " is not free",
               false;
    game.strike(record.plan.angle, record.plan.power);
    SilentContacts silent;
    game.playShot(record.dt, silent, MAX_SHOT_FRAMES);
    return true;
}

long median(std::vector<long> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[(values.size() - 1) / 2];
}

void printTotals(std::FILE* out, const MatchSettings& settings, const PlayerTotals totals[2],
                 int runOuts, int longest) {
    const int none = settings.games - totals[0].wins - totals[1].wins;
    std::fprintf(out,
                 "totals of %d games: player 1 (%s) %d wins, player 2 (%s) %d wins, %d "
                 "without a winner; run-outs %d (%.1f%%); longest game %d shots\n",
                 settings.games, describe(settings.players[0]).c_str(), totals[0].wins,
                 describe(settings.players[1]).c_str(), totals[1].wins, none, runOuts,
                 share(runOuts, settings.games), longest);
    for (int seat = 0; seat < 2; ++seat) {
        const PlayerTotals& t = totals[seat];
        const long longestThink =
            t.thinkMicros.empty() ? 0
                                  : *std::max_element(t.thinkMicros.begin(), t.thinkMicros.end());
        std::fprintf(out,
                     "player %d (%s): kept the table on %.1f%% of %d shots after the break, "
                     "scratched on %.1f%% of %d shots, decision time median %.3f s, "
                     "maximum %.3f s\n",
                     seat + 1, describe(settings.players[seat]).c_str(),
                     share(t.kept, t.shotsAfterBreak), t.shotsAfterBreak,
                     share(t.scratches, t.shots), t.shots, seconds(median(t.thinkMicros)),
                     seconds(longestThink));
    }
}

// The next event of a log, which must be of the kind expected.
bool expectEvent(RecordReader& reader, RecordEventKind kind, RecordEvent& event,
                 std::string& error) {
    std::string line;
    if (!reader.nextLine(line, error)) {
        if (error.empty()) error = "the log ends before its last game does";
        return false;
    }
    if (!parseEvent(line, event, error)) return false;
    if (event.kind == kind) return true;
    RecordEvent wanted;
    wanted.kind = kind;
    return error = "expected '" + formatEvent(wanted).substr(0, formatEvent(wanted).find(' ')) +
                   "', found: " + line,
           false;
}
} // namespace

std::unique_ptr<Player> makePlayer(const std::string& name) {
    if (name == "straight") return std::make_unique<StraightShotPlayer>();
    if (name.size() == 1 && name[0] >= '0' + MIN_LEVEL && name[0] <= '0' + MAX_LEVEL)
        return std::make_unique<ComputerPlayer>(name[0] - '0');
    return nullptr;
}

LiveShots::LiveShots(const MatchSettings& settings) : seed(settings.seed) {
    for (int seat = 0; seat < 2; ++seat) players[seat] = makePlayer(settings.players[seat]);
    frameTimeState = seed;
}

bool LiveShots::newGame(int game, int, std::string&) {
    for (int seat = 0; seat < 2; ++seat) {
        std::uint64_t state = seed ^ (static_cast<std::uint64_t>(game) << 8 | seat);
        players[seat]->newGame(mix(state));
    }
    return true;
}

bool LiveShots::next(const Game& state, ShotRecord& record, std::string&) {
    const int seat = state.referee.currentPlayer;
    const auto start = std::chrono::steady_clock::now();
    record.plan = players[seat]->choose(state);
    const auto took = std::chrono::steady_clock::now() - start;
    record.thinkMicros =
        static_cast<long>(std::chrono::duration_cast<std::chrono::microseconds>(took).count());
    record.player = seat + 1;
    const double unit = (mix(frameTimeState) >> 11) * 0x1.0p-53; // in [0, 1)
    record.dt = SHORTEST_FRAME + (LONGEST_FRAME - SHORTEST_FRAME) * unit;
    return true;
}

bool LoggedShots::newGame(int, int breaker, std::string& error) {
    RecordEvent event;
    if (!expectEvent(reader, RecordEventKind::NewGame, event, error)) return false;
    if (event.player == breaker) return true;
    return error = "the game's breaker is player " + std::to_string(breaker + 1), false;
}

bool LoggedShots::next(const Game& state, ShotRecord& record, std::string& error) {
    RecordEvent e;
    if (!expectEvent(reader, RecordEventKind::Think, e, error)) return false;
    record.thinkMicros = e.micros;
    record.plan.placesCueBall = state.referee.isPlacingCueBall();
    if (record.plan.placesCueBall) {
        if (!expectEvent(reader, RecordEventKind::Place, e, error)) return false;
        if (!state.spotFree(e.x, e.z)) return error = "the spot is on a ball", false;
        record.plan.spot = Vec3(e.x, RESTING_HEIGHT, e.z);
    }
    if (!expectEvent(reader, RecordEventKind::Aim, e, error)) return false;
    record.plan.angle = e.value;
    if (!expectEvent(reader, RecordEventKind::Strike, e, error)) return false;
    if (e.player != state.referee.currentPlayerNumber())
        return error = "player " + std::to_string(e.player) + " is not at the table", false;
    record.player = e.player;
    record.plan.power = e.value;
    if (!expectEvent(reader, RecordEventKind::Play, e, error)) return false;
    record.dt = e.value;
    return true;
}

bool LoggedShots::shotEnded(const Game& state, std::string& error) {
    RecordEvent e;
    if (!expectEvent(reader, RecordEventKind::End, e, error)) return false;
    if (e.hash == state.hash()) return true;
    return error = "the shot ends in a state that differs from the log's", false;
}

bool LoggedShots::atEnd() {
    std::string line, error;
    return !reader.nextLine(line, error) && error.empty();
}

bool parseMatchLine(const std::string& line, MatchSettings& settings, std::string& error) {
    char players[2][32], extra = 0;
    unsigned long long seed = 0;
    if (std::sscanf(line.c_str(), "match players=%31[^,],%31s seed=%llu games=%d %c", players[0],
                    players[1], &seed, &settings.games, &extra) != 4 ||
        settings.games < 0)
        return error = "not a match: " + line, false;
    settings.seed = seed;
    for (int seat = 0; seat < 2; ++seat) {
        settings.players[seat] = players[seat];
        if (!makePlayer(players[seat]))
            return error = "'" + settings.players[seat] + "' is not 1, 2, 3 or straight", false;
    }
    return true;
}

bool readMatchHeader(RecordReader& reader, MatchSettings& settings, std::string& error) {
    if (!reader.readHeader(error)) return false;
    std::string line;
    if (reader.nextLine(line, error)) return parseMatchLine(line, settings, error);
    if (error.empty()) error = "the record holds no match";
    return false;
}

bool runMatch(const MatchSettings& settings, ShotSource& source, Game& state, std::FILE* out,
              std::FILE* log, std::string& error) {
    const Referee& referee = state.referee;
    if (log)
        std::fprintf(log, "%s\nmatch players=%s,%s seed=%" PRIu64 " games=%d\n", RECORD_HEADER,
                     settings.players[0].c_str(), settings.players[1].c_str(), settings.seed,
                     settings.games);
    PlayerTotals totals[2];
    int runOuts = 0, longest = 0;
    for (int game = 1; game <= settings.games; ++game) {
        const int breaker = (game - 1) % 2;
        state.newGame(breaker);
        if (!source.newGame(game, breaker, error)) return false;
        if (log) writeEvent(log, RecordEvent::newGame(breaker));
        GameResult result;
        int shot = 0;
        while (!referee.isGameOver() && shot < MAX_GAME_SHOTS) {
            ShotRecord record;
            record.game = game;
            record.shot = ++shot;
            const int seat = referee.currentPlayer;
            const bool breakShot = referee.tableState == TableState::BreakShot;
            if (!source.next(state, record, error) || !playRecord(record, state, error) ||
                !source.shotEnded(state, error))
                return false;
            if (log) writeShot(log, record, state.hash());
            PlayerTotals& t = totals[seat];
            t.shots += 1;
            t.thinkMicros.push_back(record.thinkMicros);
            result.shots[seat] += 1;
            if (referee.isPlacingCueBall() || (referee.isGameOver() && state.balls[0].pocketed))
                t.scratches += 1;
            if (breakShot) continue;
            t.shotsAfterBreak += 1;
            const bool kept =
                referee.isGameOver() ? referee.winner == seat : referee.currentPlayer == seat;
            if (kept) t.kept += 1;
        }
        if (referee.isGameOver()) {
            result.winner = referee.winner;
            totals[result.winner].wins += 1;
            result.runOut = result.winner == breaker && result.shots[1 - breaker] == 0;
            if (result.runOut) runOuts += 1;
        }
        longest = std::max(longest, shot);
        std::fprintf(out, "game %d: %s; shots %d and %d; %s%s\n", game,
                     result.winner < 0
                         ? "no winner"
                         : ("player " + std::to_string(result.winner + 1) + " won").c_str(),
                     result.shots[0], result.shots[1], endingOf(referee, state.balls[0]),
                     result.runOut ? "; a run-out" : "");
    }
    printTotals(out, settings, totals, runOuts, longest);
    return true;
}
