// pool-sim: plays one shot headlessly with a fixed frame time and prints what happened, or
// plays whole matches (pool_sim_match.cpp).
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "pool_sim_match.h"
#include "pool_sim_options.h"
#include "sim/contact.h"
#include "sim/game.h"
#include "sim/simulation.h"
#include "sim/strike.h"

namespace {

const char* const USAGE = "usage: pool-sim -a DEG -p P -t SECONDS [-m N] [-s FILE]\n"
                          "       pool-sim -g N -S S [-P A,B] [-l FILE]\n"
                          "       pool-sim -r FILE\n"
                          "       pool-sim -h | -V\n";

const char* const PLAYERS_NOTE =
    "\nA and B: 1, 2 or 3 (the computer at that level) or straight (the straight-shot player).\n";

struct Options {
    double angle = 0.0; // degrees, as the cue holds it; 0 shoots towards -z
    double power = 0.0; // units/s
    double dt = 0.0;    // seconds per frame
    long maxFrames = 100000;
    std::optional<std::string> setupFile; // an empty name is refused when read, not passed over
};

bool parseDouble(const std::string& text, double& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    errno = 0;
    value = std::strtod(text.c_str(), &end);
    return *end == '\0' && errno != ERANGE && std::isfinite(value);
}

// A number, or a fraction such as 1/60.
bool parseSeconds(const std::string& text, double& value) {
    const std::string::size_type slash = text.find('/');
    if (slash == std::string::npos) return parseDouble(text, value);
    double numerator = 0.0, denominator = 0.0;
    if (!parseDouble(text.substr(0, slash), numerator) ||
        !parseDouble(text.substr(slash + 1), denominator) || denominator == 0.0)
        return false;
    value = numerator / denominator;
    return std::isfinite(value);
}

long frameCount(const char* text) {
    char* end = nullptr;
    errno = 0;
    const long count = std::strtol(text, &end, 10);
    if (*text == '\0' || *end != '\0' || errno == ERANGE || count < 0)
        refuseOption(std::string("--max-frames: '") + text + "' is not a whole number >= 0");
    return count;
}

double numberOption(const char* option, const char* text) {
    double value = 0.0;
    if (!parseDouble(text, value))
        refuseOption(std::string(option) + ": '" + text + "' is not a number");
    return value;
}

Options parseOptions(const std::vector<OptionUse>& uses) {
    Options options;
    bool haveAngle = false, havePower = false, haveDt = false;
    for (const OptionUse& use : uses) {
        const char* value = use.value.c_str();
        switch (POOL_SIM_OPTIONS[size_t(use.index)].shortName) {
        case 'a':
            options.angle = numberOption("--angle", value);
            haveAngle = true;
            break;
        case 'p':
            options.power = numberOption("--power", value);
            if (options.power < 0.0)
                refuseOption(std::string("--power: '") + value + "' is negative");
            havePower = true;
            break;
        case 't':
            if (!parseSeconds(value, options.dt))
                refuseOption(std::string("--dt: '") + value + "' is not a number or a fraction");
            if (options.dt <= 0.0)
                refuseOption(std::string("--dt: '") + value + "' is not positive");
            haveDt = true;
            break;
        case 'm': options.maxFrames = frameCount(value); break;
        default: options.setupFile = use.value; break;
        }
    }
    if (!haveAngle) refuseOption("missing --angle");
    if (!havePower) refuseOption("missing --power");
    if (!haveDt) refuseOption("missing --dt");
    return options;
}

struct SetupLine {
    long index = 0;
    float spot[3] = {0.0f, 0.0f, 0.0f}; // stored like the rack's floats
    bool pocketed = false;
};

// A coordinate that a float holds: a larger one would put the ball at infinity.
float coordinate(const std::string& word, const std::string& where) {
    double value = 0.0;
    if (!parseDouble(word, value)) fail(where + "'" + word + "' is not a number");
    if (std::fabs(value) > std::numeric_limits<float>::max())
        fail(where + "'" + word + "' is too large for a coordinate");
    return static_cast<float>(value);
}

// The shot loop starts a ball in play at rest on the felt, clear of the cushions and pockets.
bool onFelt(const float spot[3]) {
    return std::fabs(spot[0]) <= FREE_HALF_WIDTH && spot[1] == RESTING_HEIGHT &&
           std::fabs(spot[2]) <= FREE_HALF_LENGTH;
}

// One line of a setup file; false for a blank or comment line. `where` starts each refusal.
bool readSetupLine(std::string text, const std::string& where, SetupLine& line) {
    text = text.substr(0, text.find('#'));
    std::istringstream fields(text);
    std::string word[6];
    int count = 0;
    while (count < 6 && fields >> word[count]) ++count;
    if (count == 0) return false;
    if (count < 4 || count > 5) fail(where + "expected 'index x y z [pocketed]'");
    char* end = nullptr;
    line.index = std::strtol(word[0].c_str(), &end, 10);
    if (*end != '\0') fail(where + "index '" + word[0] + "' is not a whole number");
    if (line.index < 0 || line.index >= BALL_COUNT)
        fail(where + "index " + word[0] + " outside 0..15");
    for (int k = 0; k < 3; ++k) line.spot[k] = coordinate(word[k + 1], where);
    if (count == 5 && word[4] != "0" && word[4] != "1")
        fail(where + "pocketed must be 0 or 1, not '" + word[4] + "'");
    line.pocketed = count == 5 && word[4] == "1";
    return true;
}

// A ball the shot loop can play from where the line puts it.
void checkStanding(const SetupLine& line, const std::string& where) {
    // Struck from below the table, the cue ball would fall for the whole shot.
    if (line.index == 0 && line.pocketed) fail(where + "the cue ball cannot start pocketed");
    if (!line.pocketed && !onFelt(line.spot)) {
        char area[100];
        std::snprintf(area, sizeof area,
                      "a ball in play rests at y = %g within |x| <= %g and "
                      "|z| <= %g",
                      RESTING_HEIGHT, FREE_HALF_WIDTH, FREE_HALF_LENGTH);
        fail(where + area);
    }
}

// Balls in play may touch but not overlap: the shot loop would let one pass through the other.
// `lineOf` holds the line that set each ball, 0 for one left racked.
void checkApart(const Game& game, const int lineOf[BALL_COUNT], const char* path) {
    for (int i = 0; i < BALL_COUNT; ++i) {
        for (int j = i + 1; j < BALL_COUNT; ++j) {
            const Ball &a = game.balls[i], &b = game.balls[j];
            const int line = std::max(lineOf[i], lineOf[j]);
            if (line == 0 || a.pocketed || b.pocketed) continue;
            if ((a.position - b.position).length() >= a.radius + b.radius) continue;
            fail(std::string(path) + ":" + std::to_string(line) + ": the balls at index " +
                 std::to_string(i) + " and " + std::to_string(j) + " overlap");
        }
    }
}

// Lines "index x y z [pocketed]"; '#' starts a comment. The ball is reset at rest on that spot.
void applySetup(Game& game, const char* path) {
    std::ifstream file(path);
    if (!file) fail(std::string("cannot read setup file '") + path + "'");
    int lineOf[BALL_COUNT] = {};
    std::string text;
    for (int lineNumber = 1; std::getline(file, text); ++lineNumber) {
        const std::string where = std::string(path) + ":" + std::to_string(lineNumber) + ": ";
        SetupLine line;
        if (!readSetupLine(text, where, line)) continue;
        checkStanding(line, where);
        game.balls[line.index].reset(line.spot);
        game.balls[line.index].pocketed = line.pocketed;
        lineOf[line.index] = lineNumber;
    }
    if (file.bad()) fail(std::string("cannot read setup file '") + path + "'");
    checkApart(game, lineOf, path);
}

void printResult(const Game& game, long frames) {
    std::printf("END frames=%ld\n", frames);
    for (const Ball& ball : game.balls)
        std::printf("%d %d %.9f %.9f %.9f\n", ball.number, ball.pocketed ? 1 : 0, ball.position.x,
                    ball.position.y, ball.position.z);
    printVerdict(game.referee);
}

} // namespace

void printVerdict(const Referee& referee) {
    std::printf("playState=%d tableState=%d currentPlayer=%d groups=%d,%d solids=%d stripes=%d "
                "winner=%d\n",
                int(referee.playState), int(referee.tableState), referee.currentPlayer,
                int(referee.groupOfPlayer(1)), int(referee.groupOfPlayer(2)),
                referee.solidsRemaining, referee.stripesRemaining,
                referee.isGameOver() ? referee.winner : -1);
}

const std::vector<OptionSpec> POOL_SIM_OPTIONS = {
    {"angle", 'a', "DEG", "the aim in degrees; 0 shoots up the table towards the rack"},
    {"power", 'p', "P", "the cue ball's speed in units per second (a full charge is 100)"},
    {"dt", 't', "SECONDS", "seconds per frame, a number or a fraction such as 1/60"},
    {"max-frames", 'm', "N", "stop after N frames even if balls still move (default 100000)"},
    {"setup", 's', "FILE", "the balls' spots, lines 'ROW X Y Z [POCKETED]', instead of the rack"},
    {"games", 'g', "N", "play a match of N games"},
    {"seed", 'S', "S", "the seed of the match's random choices"},
    {"players", 'P', "A,B", "the match's players (default 3,straight)"},
    {"log", 'l', "FILE", "write the match to FILE as a record"},
    {"replay", 'r', "FILE", "play a match's record or a window's record again"},
    {"help", 'h', nullptr, "print this help and exit"},
    {"version", 'V', nullptr, "print the version and exit"},
};

bool isMatchOption(const OptionUse& use) {
    return std::strchr("gSPlr", POOL_SIM_OPTIONS[size_t(use.index)].shortName) != nullptr;
}

void refuseOption(const std::string& message) { std::exit(refuseCommandLine("pool-sim", message)); }

// Bad input ends the run before anything is simulated.
void fail(const std::string& message) {
    std::fprintf(stderr, "pool-sim: %s\n", message.c_str());
    std::exit(2);
}

int main(int argc, char** argv) {
    std::vector<OptionUse> uses;
    std::string error;
    readOptions(argc, argv, POOL_SIM_OPTIONS, uses, error);
    for (const OptionUse& use : uses) {
        const char option = POOL_SIM_OPTIONS[size_t(use.index)].shortName;
        if (option == 'h')
            return printOutput("pool-sim", USAGE + optionList(POOL_SIM_OPTIONS) + PLAYERS_NOTE,
                               stdout);
        if (option == 'V') return printOutput("pool-sim", versionText("pool-sim"), stdout);
    }
    if (!error.empty()) refuseOption(error);
    for (const OptionUse& use : uses)
        if (isMatchOption(use)) return runMatchCommand(uses);
    const Options options = parseOptions(uses);
    Game game;
    if (options.setupFile) applySetup(game, options.setupFile->c_str());
    game.strike(options.angle, options.power);
    ConsoleContacts console;
    printResult(game, game.playShot(options.dt, console, options.maxFrames));
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "pool-sim: cannot write the output\n");
        return 1;
    }
    return 0;
}
