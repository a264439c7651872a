// pool-sim --games N --seed S [--players A,B] [--log FILE], and pool-sim --replay FILE of a
// match or of a game played in the window.
#include "pool_sim_match.h"
#include "pool_sim_options.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "ai/match.h"
#include "sim/contact.h"
#include "sim/game.h"
#include "sim/record.h"

namespace {
struct MatchOptions {
    MatchSettings settings;
    bool haveGames = false, haveSeed = false, havePlayers = false;
    std::optional<std::string> logFile; // an empty name is refused when opened, not passed over
    std::optional<std::string> replayFile;
};

unsigned long long wholeNumber(const char* option, const char* text) {
    char* end = nullptr;
    errno = 0;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (*text == '\0' || *text == '-' || *end != '\0' || errno == ERANGE)
        refuseOption(std::string(option) + ": '" + text + "' is not a whole number");
    return value;
}

void parsePlayers(const std::string& text, MatchSettings& settings) {
    const std::string::size_type comma = text.find(',');
    if (comma == std::string::npos) refuseOption("--players: '" + text + "' is not A,B");
    settings.players[0] = text.substr(0, comma);
    settings.players[1] = text.substr(comma + 1);
    for (const std::string& name : settings.players)
        if (!makePlayer(name)) refuseOption("--players: '" + name + "' is not 1, 2, 3 or straight");
}

MatchOptions parseMatchOptions(const std::vector<OptionUse>& uses) {
    MatchOptions options;
    options.settings.players[0] = "3";
    options.settings.players[1] = "straight";
    for (const OptionUse& use : uses) {
        const char* value = use.value.c_str();
        switch (POOL_SIM_OPTIONS[size_t(use.index)].shortName) {
        case 'g': {
            const unsigned long long games = wholeNumber("--games", value);
            if (games < 1 || games > 1000000) refuseOption("--games: from 1 to 1000000");
            options.settings.games = static_cast<int>(games);
            options.haveGames = true;
            break;
        }
        case 'S':
            options.settings.seed = wholeNumber("--seed", value);
            options.haveSeed = true;
            break;
        case 'P':
            parsePlayers(use.value, options.settings);
            options.havePlayers = true;
            break;
        case 'l': options.logFile = use.value; break;
        case 'r': options.replayFile = use.value; break;
        default:
            refuseOption(std::string("--") + POOL_SIM_OPTIONS[size_t(use.index)].name +
                         " belongs to a shot, not to a match");
        }
    }
    const bool replay = options.replayFile.has_value();
    if (replay && (options.haveGames || options.haveSeed || options.havePlayers))
        refuseOption("--replay takes its games, seed and players from the log");
    if (replay && options.logFile) refuseOption("--replay writes no log: --log goes with --games");
    if (!replay && !options.haveGames) refuseOption("a match needs --games");
    if (!replay && !options.haveSeed) refuseOption("a match needs --seed");
    return options;
}

int finish(bool played, const std::string& error, std::FILE* log) {
    bool written = std::fflush(stdout) == 0 && !std::ferror(stdout);
    if (log) written = std::fclose(log) == 0 && written;
    if (!played) {
        std::fprintf(stderr, "pool-sim: %s\n", error.c_str());
        return 2;
    }
    if (!written) {
        std::fprintf(stderr, "pool-sim: cannot write the output\n");
        return 1;
    }
    return 0;
}

bool replayMatch(RecordReader& reader, const std::string& matchLine, std::string& error) {
    MatchSettings settings;
    if (!parseMatchLine(matchLine, settings, error)) return false;
    Game game;
    LoggedShots shots(reader);
    if (!runMatch(settings, shots, game, stdout, nullptr, error)) return false;
    if (shots.atEnd()) return true;
    return error = "the log has shots after its last game", false;
}

// A window's record: each shot's contact lines as the window printed them, then the verdict.
bool replayWindow(RecordReader& reader, std::string line, std::string& error) {
    Game game;
    RecordPlayer player;
    ConsoleContacts console;
    do {
        RecordEvent event;
        if (!parseEvent(line, event, error) || !player.apply(event, game, console, error))
            return false;
        if (event.kind == RecordEventKind::End) printVerdict(game.referee);
    } while (reader.nextLine(line, error));
    if (!error.empty()) return false;
    if (!player.endDue) return true;
    return error =
               "the record ends before shot " + std::to_string(player.shotsEnded + 1) + "'s end",
           false;
}

// A record of either kind, told apart by its second line.
bool replayRecord(RecordReader& reader, std::string& error) {
    std::string line;
    if (!reader.nextLine(line, error)) {
        if (error.empty()) error = "the record is empty";
        return false;
    }
    if (line.compare(0, 15, "pool-sim match ") == 0)
        return error = "an old match log: play the match again with --games, --seed, --players "
                       "and --log to write it as a record",
               false;
    if (line != RECORD_HEADER)
        return error = "not a record: the first line is not '" + std::string(RECORD_HEADER) + "'",
               false;
    if (!reader.nextLine(line, error)) {
        if (error.empty()) error = "the record holds no game";
        return false;
    }
    return line.compare(0, 6, "match ") == 0 ? replayMatch(reader, line, error)
                                             : replayWindow(reader, line, error);
}

int replay(const char* path) {
    std::FILE* file = std::fopen(path, "r");
    if (!file) fail(std::string("cannot read the log '") + path + "'");
    RecordReader reader(file);
    std::string error;
    const bool played = replayRecord(reader, error);
    if (!played) // named as a compiler names a line, for an editor to jump to
        error = std::string(path) + ":" + std::to_string(reader.lineNumber()) + ": " + error;
    std::fclose(file);
    return finish(played, error, nullptr);
}
} // namespace

int runMatchCommand(const std::vector<OptionUse>& uses) {
    const MatchOptions options = parseMatchOptions(uses);
    if (options.replayFile) return replay(options.replayFile->c_str());
    std::FILE* log = nullptr;
    if (options.logFile && !(log = std::fopen(options.logFile->c_str(), "w")))
        fail("cannot write the log '" + *options.logFile + "'");
    Game game;
    LiveShots shots(options.settings);
    std::string error;
    const bool played = runMatch(options.settings, shots, game, stdout, log, error);
    return finish(played, error, log);
}
