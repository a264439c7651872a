// The game's command line.
#include "app/options.h"

#include <cstring>

const char* const VERSION = POOL_VERSION;

const char* const USAGE =
    "usage: pool [--computer 1|2|both] [--level 1|2|3] [--mute] [--sound-file FILE]\n"
    "            [--record FILE] [--window [WIDTHxHEIGHT]] [--help] [--version]\n"
    "       pool --host [ADDRESS:]PORT | --join HOST:PORT [--key WORD] [--computer 1|2]\n"
    "            [--level 1|2|3] [--mute] [--sound-file FILE] [--record FILE]\n"
    "            [--window [WIDTHxHEIGHT]]\n"
    "       pool --replay FILE [--mute] [--sound-file FILE] [--window [WIDTHxHEIGHT]]\n";

const char* const HELP =
    "Three-dimensional eight-ball pool for two players at one keyboard, or against the computer.\n"
    "\n"
    "  --computer 1|2|both  the computer plays player 1, player 2 or both (a demonstration)\n"
    "  --level 1|2|3        the computer's strength: 1 a beginner, 3 the strongest (default 2)\n"
    "  --mute               no sound\n"
    "  --sound-file FILE    record the sound as played, silences included, to FILE as WAV\n"
    "                       (16-bit mono, 44100 Hz); with --mute it is recorded, not played\n"
    "  --record FILE        write the game to FILE as it is played\n"
    "  --replay FILE        play the record FILE again (p pauses, Esc quits)\n"
    "  --window [SIZE]      play in a window of SIZE pixels, WIDTHxHEIGHT (800x600 without\n"
    "                       one), instead of the full screen\n"
    "  --host [ADDRESS:]PORT  wait on the UDP port for one opponent, who plays player 2\n"
    "  --join HOST:PORT     play player 2 against the game hosted there\n"
    "  --key WORD           a network game only with an opponent who gives the same word\n"
    "  --help               print this help and exit\n"
    "  --version            print the version and exit\n"
    "\n"
    "Keys: space (hold, release) shoot; Left, Right aim; Up, Down view; z, x zoom;\n"
    "Ctrl or Alt with an arrow: steps of 1 or 30 degrees; F1 to F8 shoot at a fixed power;\n"
    "F9 cue ball back on its spot; F10 new game; F11 pocket all but the eight;\n"
    "Enter place the cue ball in hand; Esc quit.\n"
    "Mouse, left button held: sideways aim (finer with Ctrl at the press), down and back up\n"
    "shoot; left click place the cue ball in hand; wheel zoom; right button: the render menu.\n"
    "While the computer plays its turn only Esc, F10, z, x, Up, Down and the wheel act.\n";

namespace {
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
// A file name that a forgotten value could not be mistaken for.
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

std::string& fileOption(const std::string& option, Options& options) {
    if (option == "--record") return options.recordFile;
    return option == "--replay" ? options.replayFile : options.soundFile;
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
} // namespace

OptionsResult parseOptions(int argc, char** argv, Options& options, std::string& error) {
    bool levelGiven = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--help" || arg == "-h") return OptionsResult::Help;
        if (arg == "--version") return OptionsResult::Version;
        if (arg == "--mute") {
            options.mute = true;
            continue;
        }
        const int glutValues = glutOptionValues(argv[i]);
        const bool named = arg == "--sound-file" || arg == "--record" || arg == "--replay";
        const bool networked = arg == "--host" || arg == "--join" || arg == "--key";
        const bool valued =
            arg == "--computer" || arg == "--level" || named || networked || glutValues > 0;
        if (valued && i + 1 >= argc) {
            error = arg + " needs a value";
            return OptionsResult::Error;
        }
        if (glutValues >= 0) {
            i += glutValues;
        } else if (arg == "--computer") {
            if (!parseComputer(argv[++i], options)) error = "--computer takes 1, 2 or both";
        } else if (arg == "--level") {
            if (!parseLevel(argv[++i], options)) error = "--level takes 1, 2 or 3";
            levelGiven = true;
        } else if (arg == "--window") {
            // The size is optional: a next argument that is an option is not taken for it.
            options.windowed = true;
            if (i + 1 < argc && argv[i + 1][0] != '-' && !parseWindowSize(argv[++i], options))
                error = "--window takes WIDTHxHEIGHT, each side from " +
                        std::to_string(MIN_WINDOW_SIDE) + " to " + std::to_string(MAX_WINDOW_SIDE) +
                        " pixels";
        } else if (named) {
            if (!parseFileName(argv[++i], fileOption(arg, options)))
                error = arg + " takes a file name";
        } else if (networked) {
            parseNetworkOption(arg, argv[++i], options, error);
        } else {
            error = "unknown option '" + arg + "'";
        }
        if (!error.empty()) return OptionsResult::Error;
    }
    error = conflict(options, levelGiven);
    return error.empty() ? OptionsResult::Play : OptionsResult::Error;
}

int printHelpOrVersion(OptionsResult result, std::FILE* out) {
    if (result == OptionsResult::Help) std::fprintf(out, "%s%s", USAGE, HELP);
    else std::fprintf(out, "pool %s\n", VERSION);
    if (std::fflush(out) == 0 && !std::ferror(out)) return 0;
    std::fprintf(stderr, "pool: cannot write the output\n");
    return 1;
}
