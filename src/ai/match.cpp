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
// A logged frame time beyond this is no display rate but a stalled window, or an edit.
constexpr double LONGEST_WINDOW_FRAME = 0.25; // seconds
constexpr const char* HEADER = "pool-sim match";
constexpr double MICROS_PER_SECOND = 1e6;
constexpr int LOG_LINE_SIZE = 512; // bytes a shot line may take, its newline included

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

void writeShot(std::FILE* log, const ShotRecord& r) {
    std::fprintf(log, "game=%d shot=%d player=%d spot=", r.game, r.shot, r.player);
    if (r.plan.placesCueBall)
        std::fprintf(log, "%.17g,%.17g", r.plan.spot.x, r.plan.spot.z);
    else
        std::fputc('-', log);
    std::fprintf(log, " angle=%.17g power=%.17g dt=%.17g think_us=%ld\n", r.plan.angle,
                 r.plan.power, r.dt, r.thinkMicros);
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

// Why the game could not play the record's shot now; empty when it could.
std::string refusal(const ShotRecord& record, const Game& game) {
    const ShotPlan& plan = record.plan;
    const Referee& referee = game.referee;
    if (record.player != referee.currentPlayerNumber())
        return "player " + std::to_string(record.player) + " is not at the table";
    if (plan.placesCueBall != referee.isPlacingCueBall())
        return plan.placesCueBall ? "no ball in hand to place" : "the ball in hand is not placed";
    if (!std::isfinite(plan.angle)) return "angle " + shown(plan.angle) + " is not finite";
    if (!(plan.power > 0.0 && plan.power <= MAX_SHOT_POWER))
        return "power " + shown(plan.power) + " is outside (0, " + shown(MAX_SHOT_POWER) + "]";
    if (!(record.dt > 0.0 && record.dt <= LONGEST_WINDOW_FRAME))
        return "frame time " + shown(record.dt) + " is outside (0, " +
               shown(LONGEST_WINDOW_FRAME) + "] s";
    if (plan.placesCueBall && !game.spotFree(plan.spot.x, plan.spot.z))
        return "the cue ball's spot " + shown(plan.spot.x) + "," + shown(plan.spot.z) +
               " is not free";
    return "";
}

// Plays one shot of the record on the real balls; false when the record does not fit the game.
bool playRecord(const ShotRecord& record, Game& game, std::string& error) {
    const std::string why = refusal(record, game);
    if (!why.empty())
        return error = "game " + std::to_string(record.game) + " shot " +
                       std::to_string(record.shot) + ": " + why,
               false;
    if (record.plan.placesCueBall) game.placeCueBall(record.plan.spot.x, record.plan.spot.z);
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
    std::fprintf(out, "totals of %d games: player 1 (%s) %d wins, player 2 (%s) %d wins, %d "
                      "without a winner; run-outs %d (%.1f%%); longest game %d shots\n",
                 settings.games, describe(settings.players[0]).c_str(), totals[0].wins,
                 describe(settings.players[1]).c_str(), totals[1].wins, none, runOuts,
                 share(runOuts, settings.games), longest);
    for (int seat = 0; seat < 2; ++seat) {
        const PlayerTotals& t = totals[seat];
        const long longestThink =
            t.thinkMicros.empty() ? 0 : *std::max_element(t.thinkMicros.begin(), t.thinkMicros.end());
        std::fprintf(out, "player %d (%s): kept the table on %.1f%% of %d shots after the break, "
                          "scratched on %.1f%% of %d shots, decision time median %.3f s, "
                          "maximum %.3f s\n",
                     seat + 1, describe(settings.players[seat]).c_str(),
                     share(t.kept, t.shotsAfterBreak), t.shotsAfterBreak,
                     share(t.scratches, t.shots), t.shots, seconds(median(t.thinkMicros)),
                     seconds(longestThink));
    }
}

// The next line with more than blanks on it; every line read is counted in `lines`. False at
// the end of the log.
bool nextLine(std::FILE* log, char (&line)[LOG_LINE_SIZE], int& lines) {
    do {
        if (!std::fgets(line, LOG_LINE_SIZE, log)) return false;
        ++lines;
    } while (line[std::strspn(line, " \t\r\n")] == '\0');
    return true;
}

// "X,Z" as the log writes the ball in hand's spot.
bool readSpot(const char* text, Vec3& spot) {
    int consumed = 0;
    return std::sscanf(text, "%lf,%lf%n", &spot.x, &spot.z, &consumed) == 2 &&
           text[consumed] == '\0';
}

// A decision time as the log writes it: digits only, within a long.
bool readMicros(const char* text, long& micros) {
    if (*text < '0' || *text > '9') return false;
    char* end = nullptr;
    errno = 0;
    micros = std::strtol(text, &end, 10);
    return *end == '\0' && errno != ERANGE;
}

// A line of the log as a message quotes it.
std::string withoutNewline(const char* line) {
    return std::string(line, std::strcspn(line, "\r\n"));
}

// Fills the record from one shot line of a log; the reason when the line is not one.
std::string readShotLine(const char* line, ShotRecord& record) {
    // Widths keep the counts within an int: a longer one is no shot line rather than wrapped.
    char spot[128], think[32];
    int consumed = 0;
    if (std::sscanf(line, "game=%9d shot=%9d player=%9d spot=%127s angle=%lf power=%lf dt=%lf "
                          "think_us=%31s %n",
                    &record.game, &record.shot, &record.player, spot, &record.plan.angle,
                    &record.plan.power, &record.dt, think, &consumed) != 8 ||
        line[consumed] != '\0')
        return "not a shot line: " + withoutNewline(line);
    record.plan.placesCueBall = std::strcmp(spot, "-") != 0;
    if (record.plan.placesCueBall && !readSpot(spot, record.plan.spot))
        return "not a spot: " + std::string(spot);
    if (!readMicros(think, record.thinkMicros))
        return "think_us=" + std::string(think) + " is not a whole number of microseconds from 0 "
               "to " + std::to_string(std::numeric_limits<long>::max());
    return "";
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

void LiveShots::newGame(int game) {
    for (int seat = 0; seat < 2; ++seat) {
        std::uint64_t state = seed ^ (static_cast<std::uint64_t>(game) << 8 | seat);
        players[seat]->newGame(mix(state));
    }
}

bool LiveShots::next(const Game& state, ShotRecord& record, std::string&) {
    const int seat = state.referee.currentPlayer;
    const auto start = std::chrono::steady_clock::now();
    record.plan = players[seat]->choose(state);
    const auto took = std::chrono::steady_clock::now() - start;
    record.thinkMicros = static_cast<long>(
        std::chrono::duration_cast<std::chrono::microseconds>(took).count());
    record.player = seat + 1;
    const double unit = (mix(frameTimeState) >> 11) * 0x1.0p-53; // in [0, 1)
    record.dt = SHORTEST_FRAME + (LONGEST_FRAME - SHORTEST_FRAME) * unit;
    return true;
}

bool LoggedShots::next(const Game&, ShotRecord& record, std::string& error) {
    char line[LOG_LINE_SIZE];
    const int game = record.game, shot = record.shot;
    if (!nextLine(log, line, lines))
        return error = "the log ends before game " + std::to_string(game) + " does", false;
    error = readShotLine(line, record);
    if (!error.empty()) return false;
    if (record.game != game || record.shot != shot)
        return error = "expected game " + std::to_string(game) + " shot " +
                       std::to_string(shot) + ", found: " + withoutNewline(line),
               false;
    return true;
}

bool LoggedShots::atEnd() {
    char line[LOG_LINE_SIZE];
    return !nextLine(log, line, lines);
}

bool readMatchHeader(std::FILE* log, MatchSettings& settings) {
    char players[2][32];
    char line[256];
    if (!std::fgets(line, sizeof line, log)) return false;
    unsigned long long seed = 0;
    if (std::sscanf(line, "pool-sim match players=%31[^,],%31s seed=%llu games=%d",
                    players[0], players[1], &seed, &settings.games) != 4 || settings.games < 0)
        return false;
    settings.seed = seed;
    for (int seat = 0; seat < 2; ++seat) {
        settings.players[seat] = players[seat];
        if (!makePlayer(players[seat])) return false;
    }
    return true;
}

bool runMatch(const MatchSettings& settings, ShotSource& source, Game& state, std::FILE* out,
              std::FILE* log, std::string& error) {
    const Referee& referee = state.referee;
    if (log)
        std::fprintf(log, "%s players=%s,%s seed=%" PRIu64 " games=%d\n", HEADER,
                     settings.players[0].c_str(), settings.players[1].c_str(), settings.seed,
                     settings.games);
    PlayerTotals totals[2];
    int runOuts = 0, longest = 0;
    for (int game = 1; game <= settings.games; ++game) {
        const int breaker = (game - 1) % 2;
        state.newGame(breaker);
        source.newGame(game);
        GameResult result;
        int shot = 0;
        while (!referee.isGameOver() && shot < MAX_GAME_SHOTS) {
            ShotRecord record;
            record.game = game;
            record.shot = ++shot;
            const int seat = referee.currentPlayer;
            const bool breakShot = referee.tableState == TableState::BreakShot;
            if (!source.next(state, record, error) || !playRecord(record, state, error))
                return false;
            if (log) writeShot(log, record);
            PlayerTotals& t = totals[seat];
            t.shots += 1;
            t.thinkMicros.push_back(record.thinkMicros);
            result.shots[seat] += 1;
            if (referee.isPlacingCueBall() || (referee.isGameOver() && state.balls[0].pocketed))
                t.scratches += 1;
            if (breakShot) continue;
            t.shotsAfterBreak += 1;
            const bool kept = referee.isGameOver() ? referee.winner == seat
                                                   : referee.currentPlayer == seat;
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
                     result.winner < 0 ? "no winner"
                                       : ("player " + std::to_string(result.winner + 1) + " won")
                                             .c_str(),
                     result.shots[0], result.shots[1], endingOf(referee, state.balls[0]),
                     result.runOut ? "; a run-out" : "");
    }
    printTotals(out, settings, totals, runOuts, longest);
    return true;
}
