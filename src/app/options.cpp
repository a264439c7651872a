// The game's command line.
#include "app/options.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/command_line.h"

namespace {
const char* const USAGE =
    "usage: pool [-c 1|2|both] [-l 1|2|3] [-m] [-s FILE] [-r FILE] [-w [WIDTHxHEIGHT]]\n"
    "       pool -H [ADDRESS:]PORT | -j HOST:PORT [-k WORD] [-c 1|2] [-l 1|2|3] [-m]\n"
    "            [-s FILE] [-r FILE] [-w [WIDTHxHEIGHT]]\n"
    "       pool -p FILE [-m] [-s FILE] [-w [WIDTHxHEIGHT]]\n"
    "       pool -h | -V\n";

const std::vector<OptionSpec> OPTIONS = {
    {"computer", 'c', "1|2|both",
     "the computer plays player 1, player 2 or both (a demonstration)"},
    {"level", 'l', "1|2|3", "the computer's strength: 1 a beginner, 3 the strongest (default 2)"},
    {"mute", 'm', nullptr, "no sound"},
    {"sound-file", 's', "FILE",
     "record the sound as played, silences included, to FILE as WAV\n"
     "(16-bit mono, 44100 Hz); with --mute it is recorded, not played"},
    {"record", 'r', "FILE", "write the game to FILE as it is played"},
    {"replay", 'p', "FILE", "play the record FILE again (p pauses, Esc quits)"},
    {"window", 'w', "[WIDTHxHEIGHT]",
     "play in a window of that size (800x600 without one), not the full screen"},
    {"host", 'H', "[ADDRESS:]PORT", "wait on the UDP port for one opponent, who plays player 2"},
    {"join", 'j', "HOST:PORT", "play player 2 against the game hosted there"},
    {"key", 'k', "WORD", "a network game only with an opponent who gives the same word"},
    {"help", 'h', nullptr, "print this help and exit"},
    {"version", 'V', nullptr, "print the version and exit"},
};

const char* const KEYS =
    "GLUT's X options (-display NAME, -geometry WxH+X+Y, -iconic, -direct, -indirect, -gldebug,\n"
    "-sync) go to the window system.\n"
    "\n"
    "Keys: space (hold, release) shoot; Left, Right aim; Up, Down view; z, x zoom;\n"
    "Ctrl or Alt with an arrow: steps of 1 or 30 degrees; F1 to F8 shoot at a fixed power;\n"
    "F9 cue ball back on its spot; F10 new game; F11 pocket all but the eight;\n"
    "Enter place the cue ball in hand; Esc quit.\n"
    "Mouse, left button held: sideways aim (finer with Ctrl at the press), down and back up\n"
    "shoot; left click place the cue ball in hand; wheel zoom; right button: the render menu.\n"
    "While the computer plays its turn only Esc, F10, z, x, Up, Down and the wheel act.\n";

// GLUT's X options, with how many values each takes.
struct GlutOption {
    const char* name;
    int values;
};
constexpr GlutOption GLUT_OPTIONS[] = {{"-display", 1}, {"-geometry", 1}, {"-iconic", 0},
                                       {"-direct", 0},  {"-indirect", 0}, {"-gldebug", 0},
                                       {"-sync", 0}};

int glutOptionValues(const char* arg) {
    for (const GlutOption& option : GLUT_OPTIONS)
        if (std::strcmp(arg, option.name) == 0) return option.values;
    return -1;
}

// argv without GLUT's options and their values, which glutInit reads from the whole of argv:
// getopt_long would take -display for a run of short options.
std::vector<char*> withoutGlutOptions(int argc, char** argv, std::string& error) {
    std::vector<char*> rest{argv[0]};
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--") == 0) {
            rest.insert(rest.end(), argv + i, argv + argc);
            break;
        }
        const int values = glutOptionValues(argv[i]);
        if (values < 0) {
            rest.push_back(argv[i]);
        } else if (i + values >= argc) {
            error = std::string(argv[i]) + " needs a value";
            break;
        }
        i += std::max(values, 0);
    }
    return rest;
}

bool parseComputer(const std::string& value, Options& options) {
    if (value != "1" && value != "2" && value != "both") return false;
    options.computerPlays[0] = value != "2";
    options.computerPlays[1] = value != "1";
    return true;
}

bool parseLevel(const std::string& value, Options& options) {
    if (value != "1" && value != "2" && value != "3") return false;
    options.level = value[0] - '0';
    return true;
}

// A name that looks like an option is taken for a forgotten value (a file so named can be given
// as ./-name).
bool parseFileName(const std::string& value, std::string& name) {
    if (value.empty() || value[0] == '-') return false;
    name = value;
    return true;
}

// A side of --window's WIDTHxHEIGHT: digits alone, within the sides a screen has.
bool parseWindowSide(const std::string& text, int& side) {
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != text.npos)
        return false;
    side = std::stoi(text);
    return side >= MIN_WINDOW_SIDE && side <= MAX_WINDOW_SIDE;
}

bool parseWindowSize(const std::string& value, Options& options) {
    const std::size_t x = value.find('x');
    int width = 0, height = 0;
    if (x == value.npos || !parseWindowSide(value.substr(0, x), width) ||
        !parseWindowSide(value.substr(x + 1), height))
        return false;
    options.windowWidth = width;
    options.windowHeight = height;
    return true;
}

// PORT, 1 to 65535, after an optional "ADDRESS:" (joining, the host is required).
bool parseEndpoint(const std::string& value, bool hosting, NetworkOptions& network) {
    const std::string::size_type colon = value.rfind(':');
    const std::string port = colon == std::string::npos ? value : value.substr(colon + 1);
    network.address = colon == std::string::npos ? "" : value.substr(0, colon);
    if (port.empty() || port.size() > 5 ||
        port.find_first_not_of("0123456789") != std::string::npos)
        return false;
    network.port = std::stoi(port);
    network.hosting = hosting;
    const bool addressOk =
        hosting ? colon == std::string::npos || !network.address.empty() : !network.address.empty();
    return network.port >= 1 && network.port <= 65535 && addressOk;
}

bool parseNetworkOption(const std::string& option, const std::string& value, Options& options,
                        std::string& error) {
    if (option == "--key") {
        if (value.empty() || value[0] == '-') error = "--key takes a word";
        options.network.key = value;
    } else if (options.network.port != 0) {
        error = "--host and --join go one at a time";
    } else if (!parseEndpoint(value, option == "--host", options.network)) {
        error = option == "--host" ? "--host takes [ADDRESS:]PORT, PORT from 1 to 65535"
                                   : "--join takes HOST:PORT, PORT from 1 to 65535";
    }
    return error.empty();
}

// Options that do not go together; empty when they all do.
std::string conflict(const Options& options, bool levelGiven) {
    const bool computer = options.computerPlays[0] || options.computerPlays[1];
    const NetworkOptions& network = options.network;
    if (!options.replayFile.empty() &&
        (!options.recordFile.empty() || computer || levelGiven || network.port != 0))
        return "--replay plays the record alone: no --computer, --level, --record or network";
    if (network.port == 0) return network.key.empty() ? "" : "--key goes with --host or --join";
    const int seat = network.hosting ? 0 : 1; // the seat this machine plays
    if (options.computerPlays[1 - seat])
        return network.hosting ? "the host plays player 1: only --computer 1 goes with --host"
                               : "the joiner plays player 2: only --computer 2 goes with --join";
    return "";
}
// Applies one option; Play to read on, or Help, Version or Error (with `error` set).
OptionsResult apply(const OptionUse& use, Options& options, std::string& error) {
    const OptionSpec& spec = OPTIONS[size_t(use.index)];
    bool good = true;
    std::string wanted = "a file name";
    switch (spec.shortName) {
    case 'h': return OptionsResult::Help;
    case 'V': return OptionsResult::Version;
    case 'm': options.mute = true; break;
    case 'c': good = parseComputer(use.value, options), wanted = "1, 2 or both"; break;
    case 'l': good = parseLevel(use.value, options), wanted = "1, 2 or 3"; break;
    case 's': good = parseFileName(use.value, options.soundFile); break;
    case 'r': good = parseFileName(use.value, options.recordFile); break;
    case 'p': good = parseFileName(use.value, options.replayFile); break;
    case 'w':
        options.windowed = true;
        good = !use.given || parseWindowSize(use.value, options);
        wanted = "WIDTHxHEIGHT, each side from " + std::to_string(MIN_WINDOW_SIDE) + " to " +
                 std::to_string(MAX_WINDOW_SIDE) + " pixels";
        break;
    default:
        if (parseNetworkOption(std::string("--") + spec.name, use.value, options, error)) break;
        return OptionsResult::Error;
    }
    if (good) return OptionsResult::Play;
    error = std::string("--") + spec.name + " takes " + wanted + ", not '" + use.value + "'";
    return OptionsResult::Error;
}
} // namespace

OptionsResult parseOptions(int argc, char** argv, Options& options, std::string& error) {
    std::string glutFault, fault;
    std::vector<char*> rest = withoutGlutOptions(argc, argv, glutFault);
    std::vector<OptionUse> uses;
    readOptions(int(rest.size()), rest.data(), OPTIONS, uses, fault);
    if (!glutFault.empty()) fault = glutFault;
    bool levelGiven = false;
    for (const OptionUse& use : uses) {
        const OptionsResult result = apply(use, options, error);
        if (result != OptionsResult::Play) return result;
        levelGiven = levelGiven || OPTIONS[size_t(use.index)].shortName == 'l';
    }
    if (!fault.empty()) return error = fault, OptionsResult::Error;
    error = conflict(options, levelGiven);
    return error.empty() ? OptionsResult::Play : OptionsResult::Error;
}

void resolveFileNames(Options& options, const char* startDir) {
    if (startDir == nullptr || startDir[0] == '\0') return;
    for (std::string* name : {&options.soundFile, &options.recordFile, &options.replayFile})
        if (!name->empty() && (*name)[0] != '/') *name = std::string(startDir) + "/" + *name;
}

int printHelpOrVersion(OptionsResult result, std::FILE* out) {
    const std::string text =
        result == OptionsResult::Help
            ? std::string(USAGE) +
                  "Three-dimensional eight-ball pool for two players at one keyboard, or against "
                  "the computer.\n\n" +
                  optionList(OPTIONS) + "\n" + KEYS
            : versionText("pool");
    return printOutput("pool", text, out);
}
