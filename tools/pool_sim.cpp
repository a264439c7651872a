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
#include <sstream>
#include <string>

#include "pool_sim_match.h"
#include "pool_sim_options.h"
#include "sim/contact.h"
#include "sim/game.h"
#include "sim/simulation.h"
#include "sim/strike.h"

namespace {

const char* const USAGE =
    "usage: pool-sim --angle DEG --power P --dt SECONDS [--max-frames N] [--setup FILE]\n"
    "       pool-sim --games N --seed S [--players A,B] [--log FILE]\n"
    "       pool-sim --replay FILE\n";

struct Options {
    double angle = 0.0; // degrees, as the cue holds it; 0 shoots towards -z
    double power = 0.0; // units/s
    double dt = 0.0;    // seconds per frame
    long maxFrames = 100000;
    const char* setupFile = nullptr;
};

// Bad input ends the run before anything is simulated.
[[noreturn]] void fail(const std::string& message) {
    std::fprintf(stderr, "pool-sim: %s\n", message.c_str());
    std::exit(2);
}

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

double numberOption(const char* option, const char* text) {
    double value = 0.0;
    if (!parseDouble(text, value)) fail(std::string(option) + ": '" + text + "' is not a number");
    return value;
}

Options parseOptions(int argc, char** argv) {
    Options options;
    bool haveAngle = false, havePower = false, haveDt = false;
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        if (option == "--help" || option == "-h") {
            std::fputs(USAGE, stdout);
            std::exit(0);
        }
        const char* value =
            optionValue(argc, argv, i, {"--angle", "--power", "--dt", "--max-frames", "--setup"},
                        " (--help lists the options)", fail);
        if (option == "--angle") {
            options.angle = numberOption("--angle", value);
            haveAngle = true;
        } else if (option == "--power") {
            options.power = numberOption("--power", value);
            if (options.power < 0.0) fail(std::string("--power: '") + value + "' is negative");
            havePower = true;
        } else if (option == "--dt") {
            if (!parseSeconds(value, options.dt))
                fail(std::string("--dt: '") + value + "' is not a number or a fraction");
            if (options.dt <= 0.0) fail(std::string("--dt: '") + value + "' is not positive");
            haveDt = true;
        } else if (option == "--max-frames") {
            char* end = nullptr;
            errno = 0;
            options.maxFrames = std::strtol(value, &end, 10);
            if (*value == '\0' || *end != '\0' || errno == ERANGE || options.maxFrames < 0)
                fail(std::string("--max-frames: '") + value + "' is not a whole number >= 0");
        } else {
            options.setupFile = value;
        }
    }
    if (!haveAngle) fail("missing --angle");
    if (!havePower) fail("missing --power");
    if (!haveDt) fail("missing --dt");
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

int main(int argc, char** argv) {
    if (isMatchCommand(argc, argv)) return runMatchCommand(argc, argv);
    const Options options = parseOptions(argc, argv);
    Game game;
    if (options.setupFile) applySetup(game, options.setupFile);
    game.strike(options.angle, options.power);
    ConsoleContacts console;
    printResult(game, game.playShot(options.dt, console, options.maxFrames));
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "pool-sim: cannot write the output\n");
        return 1;
    }
    return 0;
}
