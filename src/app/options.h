// The game's command line: who the computer plays, its strength, sound and its recording, the
// window, help and version.
#pragma once

#include <cstdio>
#include <string>

// A network game: hosting on a port (and maybe one address), or joining a host.
struct NetworkOptions {
    bool hosting = false;
    std::string address; // hosting: the address to listen on (empty: all); joining: the host
    int port = 0;        // 0: no network game
    std::string key;     // the word both sides must give, or empty
};

struct Options {
    bool computerPlays[2] = {false, false}; // per player, player 1 at index 0
    int level = 2;                          // the computer's strength, 1 to 3
    bool mute = false;                      // no sound
    std::string soundFile;                  // the WAV file the sound is recorded to, or empty
    std::string recordFile;                 // the game written here as it is played
    std::string replayFile;                 // this record played in the window
    bool windowed = false;                  // a window of the size below, not the full screen
    int windowWidth = 800;                  // pixels
    int windowHeight = 600;                 // pixels
    NetworkOptions network;
};

enum class OptionsResult { Play, Help, Version, Error };

// Reads the options after argv[0] in GNU's ways (see app/command_line.h). GLUT's own X options
// (-display NAME, -geometry WxH+X+Y, -iconic, -direct, -indirect, -gldebug, -sync) are passed
// over for glutInit. On Error, `error` says what was wrong.
OptionsResult parseOptions(int argc, char** argv, Options& options, std::string& error);

// Names the relative files of the options from `startDir`, the folder the launcher was started
// in before it moved to the art's; nothing without one.
void resolveFileNames(Options& options, const char* startDir);

// The sides a --window size may have: a screen of 8K at the most.
constexpr int MIN_WINDOW_SIDE = 100;  // pixels
constexpr int MAX_WINDOW_SIDE = 8192; // pixels

// Prints the help or the version to `out` for Help or Version, and returns the exit status: 0,
// or 1 (after a line on the error stream) when the output could not be written.
int printHelpOrVersion(OptionsResult result, std::FILE* out);
