// The computer at the window: the command line that seats it, the keys a person keeps during
// its turn, and its turn played by the timer through the keys' own operations.
#include <GL/freeglut.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/computer.h"
#include "app/objects.h"
#include "app/options.h"
#include "app/shot.h"
#include "game_test_util.h"
#include "render/camera.h"
#include "render/cue.h"

namespace {
// Player 1 (solids) at the table, the computer's seat as `computerSeat` says; the 3 hangs on the
// lip of the corner pocket at -x, -z, the 8 and a stripe lie far away.
void layOutHangingSolid(bool computerSeat) {
    startPlay();
    startComputer(seats(computerSeat, !computerSeat, 3));
    layOut(game, 0.0, 0.0, {{3, -20.0, -42.0}, {8, 15.0, 30.0}, {12, 18.0, -10.0}});
}

OptionsResult parse(const std::vector<const char*>& args, Options& options, std::string& error) {
    std::vector<char*> argv{const_cast<char*>("pool")};
    for (const char* arg : args) argv.push_back(const_cast<char*>(arg));
    return parseOptions(int(argv.size()), argv.data(), options, error);
}
} // namespace

// On its turn the person's keys do nothing but the view's Up and Down, zoom, F10 and Escape;
// on the person's own turn every key works. Key 0 stands for a special key.
TEST(ComputerKeys, DuringItsTurnOnlyTheViewZoomAndF10Pass) {
    struct Case {
        bool computerTurn, placing;
        int key, special;
        std::array<double, 4> want;
    };
    const Case cases[] = {
        {true, false, ' ', 0, {80, 22, 0, 0}},
        {true, false, 'z', 0, {79, 22, 0, 0}},
        {true, false, 'x', 0, {81, 22, 0, 0}},
        {true, false, 0, GLUT_KEY_LEFT, {80, 22, 0, 0}},
        {true, false, 0, GLUT_KEY_UP, {80, 22.5, 0, 0}},
        {true, true, 0, GLUT_KEY_UP, {80, 22, 0, 0}},
        {true, false, 0, GLUT_KEY_F8, {80, 22, 0, 0}},
        {false, false, ' ', 0, {80, 22, 0, 1}},
        {false, false, 0, GLUT_KEY_LEFT, {80, 22, -0.5, 0}},
    };
    for (const auto& c : cases) {
        layOutHangingSolid(c.computerTurn);
        if (c.placing) game.referee.giveBallInHand();
        c.key ? computerKeyboard(c.key, 0, 0) : computerSpecial(c.special, 0, 0);
        SCOPED_TRACE(testing::Message() << c.computerTurn << " " << c.key << " " << c.special);
        EXPECT_EQ((std::array{camera->distance, camera->elevation, cue->angle, cue->pull}), c.want);
        EXPECT_EQ(installedIdle(), nullptr); // F8 struck nothing
        computerKeyboardUp(' ', 0, 0);       // a space bar still held would charge nothing next
    }
    layOutHangingSolid(true);
    computerSpecial(GLUT_KEY_F10, 0, 0);
    EXPECT_EQ(game.referee.tableState, TableState::BreakShot) << "F10 racks a new game";
    startComputer(Options{}); // people at both seats again
}

// The timer's turn: the ball in hand moved to a free spot and placed, the cue turned to its aim
// and drawn back to a whole power, then let go, as the keys would do it; the shot, played at the
// game's usual frame time, pots the hanging 3 and keeps the table.
TEST(ComputerTurn, PlacesTurnsChargesAndPotsThroughTheKeys) {
    startComputer(seats(true, false, 3));
    for (const bool ballInHand : {false, true}) {
        SCOPED_TRACE(ballInHand);
        layOutHangingSolid(true);
        if (ballInHand) game.referee.giveBallInHand();
        for (int step = 0; installedIdle() == nullptr && step < 100000; ++step)
            advanceComputer(0.015);
        ASSERT_NE(installedIdle(), nullptr) << "no stroke";
        EXPECT_FALSE(game.referee.isPlacingCueBall());
        EXPECT_TRUE(cue->pull >= 1 && cue->pull <= 100 && cue->pull == int(cue->pull));
        while (installedIdle() == &strokeIdle) strokeIdle();
        for (int frame = 0; installedIdle() && frame < 5000; ++frame) playFrame(1.0 / 60.0);
        EXPECT_TRUE(game.referee.solidsRemaining == 0 && !game.balls[0].pocketed &&
                    game.referee.currentPlayer == 0 && game.referee.playState == PlayState::Aiming);
    }
    startComputer(Options{});
}

// Each option alone and in company, in GNU's forms: a value after '=' or as the next argument,
// short options run together, abbreviations; GLUT's X options pass over their values; a
// refused command line leaves the defaults. A sound file's name that is missing, empty or looks
// like an option is a bad value.
TEST(Options, SeatsLevelSoundAndRefusals) {
    using R = OptionsResult;
    struct Case {
        std::vector<const char*> args;
        R result;
        std::array<int, 4> seatsMuteLevel;
    };
    const Case cases[] = {
        {{}, R::Play, {0, 0, 0, 2}},
        {{"--computer", "1"}, R::Play, {1, 0, 0, 2}},
        {{"--computer", "2", "--level", "3"}, R::Play, {0, 1, 0, 3}},
        {{"--level", "1", "--computer", "both", "--mute"}, R::Play, {1, 1, 1, 1}},
        {{"--level=3", "--comp=2"}, R::Play, {0, 1, 0, 3}},
        {{"-l", "1", "-c2"}, R::Play, {0, 1, 0, 1}},
        {{"-mc", "both", "--lev", "3"}, R::Play, {1, 1, 1, 3}},
        {{"-display", ":1", "-iconic", "--level", "2"}, R::Play, {0, 0, 0, 2}},
        {{"-geometry", "80x60", "-m", "--"}, R::Play, {0, 0, 1, 2}},
        {{"--mute", "--help"}, R::Help, {0, 0, 1, 2}},
        {{"-h", "--fast"}, R::Help, {0, 0, 0, 2}},
        {{"-h", "-geometry"}, R::Help, {0, 0, 0, 2}},
        {{"--version", "--computer", "3"}, R::Version, {0, 0, 0, 2}},
        {{"-V"}, R::Version, {0, 0, 0, 2}},
        {{"--computer", "0"}, R::Error, {0, 0, 0, 2}},
        {{"--computer"}, R::Error, {0, 0, 0, 2}},
        {{"--level", "4"}, R::Error, {0, 0, 0, 2}},
        {{"--level", "12"}, R::Error, {0, 0, 0, 2}},
        {{"-geometry"}, R::Error, {0, 0, 0, 2}},
        {{"--fast"}, R::Error, {0, 0, 0, 2}},
        {{"--", "--mute"}, R::Error, {0, 0, 0, 2}},
        {{"--", "-display", ":1"}, R::Error, {0, 0, 0, 2}},
        {{"1"}, R::Error, {0, 0, 0, 2}},
    };
    for (const auto& c : cases) {
        Options options;
        std::string error;
        EXPECT_EQ(parse(c.args, options, error), c.result) << testing::PrintToString(c.args);
        EXPECT_EQ((std::array<int, 4>{options.computerPlays[0], options.computerPlays[1],
                                      options.mute, options.level}),
                  c.seatsMuteLevel);
        EXPECT_EQ(error.empty(), c.result != R::Error) << testing::PrintToString(c.args);
    }
    const std::pair<std::vector<const char*>, std::string> files[] = {
        {{"--sound-file", "break.wav", "--mute"}, "break.wav"},
        {{"--sound=break.wav"}, "break.wav"},
        {{"-sbreak.wav"}, "break.wav"},
        {{"--sound-file", "./-x"}, "./-x"},
        {{"--sound-file"}, ""},
        {{"--sound-file", ""}, ""},
        {{"--sound-file", "--mute"}, ""}};
    for (const auto& [args, file] : files) {
        Options options;
        std::string error;
        EXPECT_EQ(parse(args, options, error), file.empty() ? R::Error : R::Play) << error;
        EXPECT_EQ(options.soundFile, file);
    }
}

// --window alone is 800x600, also before another option; a size is digits, x and digits, each
// side from 100 to 8192 pixels.
TEST(Options, WindowSizes) {
    const std::pair<std::vector<const char*>, std::array<int, 2>> sizes[] = {
        {{"--window", "--mute"}, {800, 600}},
        {{"--window", "1024x100"}, {1024, 100}},
        {{"--mute", "--window", "8192x768"}, {8192, 768}}};
    for (const auto& [args, size] : sizes) {
        Options options;
        std::string error;
        EXPECT_EQ(parse(args, options, error), OptionsResult::Play) << error;
        EXPECT_EQ((std::array{int(options.windowed), options.windowWidth, options.windowHeight}),
                  (std::array{1, size[0], size[1]}));
    }
    for (const char* size : {"0x600", "800x-600", "-8x6", "99x600", "800x8193", "99999999999x6",
                             "800", "800x", "axb", "+800x600", "800 x 600", ""}) {
        Options options;
        std::string error;
        EXPECT_EQ(parse({"--window", size}, options, error), OptionsResult::Error) << size;
    }
}

// A refusal names what was wrong as the person typed it, an abbreviation that fits two options
// with both.
TEST(Options, RefusalsSayWhy) {
    const std::pair<std::vector<const char*>, std::string> cases[] = {
        {{"--re", "x.rec"}, "option '--re' is ambiguous: --record, --replay"},
        {{"--fast"}, "unknown option '--fast'"},
        {{"-mx"}, "unknown option '-x'"},
        {{"--mute=yes"}, "--mute takes no value"},
        {{"-l"}, "--level needs a value"},
        {{"--level=4"}, "--level takes 1, 2 or 3, not '4'"},
        {{"--record", "-x"}, "--record takes a file name, not '-x'"},
        {{"--mute", "again"}, "unexpected argument 'again'"},
        {{"--host", "70000"}, "--host takes [ADDRESS:]PORT, PORT from 1 to 65535"},
        {{"-j", "5555"}, "--join takes HOST:PORT, PORT from 1 to 65535"},
        {{"-H", "5555", "-c", "2"}, "the host plays player 1: only --computer 1 goes with --host"},
        {{"--key", "word"}, "--key goes with --host or --join"},
        {{"-p", "a.rec", "-c1"},
         "--replay plays the record alone: no --computer, --level, --record or network"},
    };
    for (const auto& [args, message] : cases) {
        Options options;
        std::string error;
        EXPECT_EQ(parse(args, options, error), OptionsResult::Error);
        EXPECT_EQ(error, message);
    }
}

// The launcher starts the game in the art's folder: relative names are taken from where it
// started, absolute ones and a game started without the launcher keep theirs.
TEST(Options, RelativeFilesAreNamedFromTheStartFolder) {
    Options options;
    options.soundFile = "a.wav", options.recordFile = "/tmp/b.rec", options.replayFile = "c.rec";
    resolveFileNames(options, nullptr);
    EXPECT_EQ(options.soundFile, "a.wav");
    resolveFileNames(options, "/home/x");
    EXPECT_EQ((std::array{options.soundFile, options.recordFile, options.replayFile}),
              (std::array<std::string, 3>{"/home/x/a.wav", "/tmp/b.rec", "/home/x/c.rec"}));
}

// Mended: help and version lost to a full disk used to end with status 0.
TEST(Options, HelpAndVersionReportOutputThatCouldNotBeWritten) {
    for (OptionsResult result : {OptionsResult::Help, OptionsResult::Version}) {
        std::FILE* full = std::fopen("/dev/full", "w");
        ASSERT_NE(full, nullptr);
        EXPECT_EQ(printHelpOrVersion(result, full), 1);
        std::fclose(full);
        std::FILE* file = std::tmpfile();
        EXPECT_EQ(printHelpOrVersion(result, file), 0);
        EXPECT_GT(std::ftell(file), 10);
        std::fclose(file);
    }
}
