// pool-sim: plays one shot headlessly with a fixed frame time and prints what happened, or
// plays whole matches (pool_sim_match.cpp).
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "pool_sim_match.h"
#include "pool_sim_options.h"
#include "render/headless.h"
#include "sim/contact.h"
#include "sim/simulation.h"
#include "sim/strike.h"

namespace {

const char* const USAGE =
    "usage: pool-sim --angle DEG --power P --dt SECONDS [--max-frames N] [--setup FILE]\n"
    "       pool-sim --games N --seed S [--players A,B] [--log FILE]\n"
    "       pool-sim --replay FILE\n";

struct Options {
    double angle = 0.0;  // degrees, as the cue holds it; 0 shoots towards -z
    double power = 0.0;  // units/s
    double dt = 0.0;     // seconds per frame
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
    if (!parseDouble(text, value))
        fail(std::string(option) + ": '" + text + "' is not a number");
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

// Lines "index x y z [pocketed]"; '#' starts a comment. The ball is reset at rest on that spot.
void applySetup(HeadlessGame& game, const char* path) {
    std::ifstream file(path);
    if (!file) fail(std::string("cannot read setup file '") + path + "'");
    std::string line;
    for (int lineNumber = 1; std::getline(file, line); ++lineNumber) {
        const std::string where = std::string(path) + ":" + std::to_string(lineNumber) + ": ";
        line = line.substr(0, line.find('#'));
        std::istringstream fields(line);
        std::string word[6];
        int count = 0;
        while (count < 6 && fields >> word[count]) ++count;
        if (count == 0) continue;
        if (count < 4 || count > 5) fail(where + "expected 'index x y z [pocketed]'");
        char* end = nullptr;
        const long index = std::strtol(word[0].c_str(), &end, 10);
        if (*end != '\0') fail(where + "index '" + word[0] + "' is not a whole number");
        if (index < 0 || index >= BALL_COUNT) fail(where + "index " + word[0] + " outside 0..15");
        float spot[3];
        for (int k = 0; k < 3; ++k) {
            double value = 0.0;
            if (!parseDouble(word[k + 1], value))
                fail(where + "'" + word[k + 1] + "' is not a number");
            spot[k] = static_cast<float>(value); // stored like the rack's floats
        }
        if (count == 5 && word[4] != "0" && word[4] != "1")
            fail(where + "pocketed must be 0 or 1, not '" + word[4] + "'");
        game.balls[index]->reset(spot);
        game.balls[index]->pocketed = count == 5 && word[4] == "1";
    }
    if (file.bad()) fail(std::string("cannot read setup file '") + path + "'");
}

void printResult(const HeadlessGame& game, long frames) {
    const Referee& referee = game.referee;
    std::printf("END frames=%ld\n", frames);
    for (const Ball* ball : game.balls)
        std::printf("%d %d %.9f %.9f %.9f\n", ball->number, ball->pocketed ? 1 : 0,
                    ball->position.x, ball->position.y, ball->position.z);
    std::printf("playState=%d tableState=%d currentPlayer=%d groups=%d,%d solids=%d stripes=%d "
                "winner=%d\n",
                int(referee.playState), int(referee.tableState), referee.currentPlayer,
                int(referee.groupOfPlayer(1)), int(referee.groupOfPlayer(2)), referee.solidsRemaining,
                referee.stripesRemaining, referee.isGameOver() ? referee.winner : -1);
}

} // namespace

int main(int argc, char** argv) {
    if (isMatchCommand(argc, argv)) return runMatchCommand(argc, argv);
    const Options options = parseOptions(argc, argv);
    HeadlessGame game;
    if (options.setupFile) applySetup(game, options.setupFile);
    strikeBall(*game.balls[0], options.angle, options.power);
    ConsoleContacts console;
    printResult(game, playShot(game.balls, game.table, game.referee, console, options.dt,
                               options.maxFrames));
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "pool-sim: cannot write the output\n");
        return 1;
    }
    return 0;
}
