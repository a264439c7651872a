// Games recorded in the window: a whole unattended game played through the one-frame operation at
// changing frame times and recorded, then replayed in the window and by pool-sim to the same
// contact lines and end hashes; a paused replay waits; a record that parts from the game stops it.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/computer.h"
#include "app/objects.h"
#include "app/options.h"
#include "app/recording.h"
#include "app/replay.h"
#include "app/shell.h"
#include "app/shot.h"
#include "game_test_util.h"
#include "sim/contact.h"
#include "sim/record.h"

namespace {
// The window's frame times vary; these come round in turn.
constexpr double FRAME_TIMES[] = {1.0 / 60.0, 1.0 / 45.0, 1.0 / 75.0, 0.0213, 1.0 / 144.0};
constexpr double COMPUTER_STEP = 1.0 / 60.0; // seconds of the computer's turn per step
constexpr int MAX_STEPS = 200000;

std::vector<std::string> contacts(const std::string& printed) {
    std::vector<std::string> lines;
    std::istringstream in(printed);
    for (std::string line; std::getline(in, line);)
        if (line.find(" collided with ") != std::string::npos) lines.push_back(line);
    return lines;
}

// The computer on both sides, stepped through its turns, each stroke and shot played out frame
// by frame, until a game is over and the next one's break has been played. False if that never
// comes.
bool playDemonstration() {
    bool over = false, racked = false;
    for (int step = 0, frame = 0; step < MAX_STEPS; ++step) {
        advanceComputer(COMPUTER_STEP);
        while (installedIdle() == &strokeIdle) strokeIdle();
        while (installedIdle() == &simulationIdle) playFrame(FRAME_TIMES[frame++ % 5]);
        over = over || game.referee.isGameOver();
        racked = racked || (over && game.referee.tableState == TableState::BreakShot);
        if (racked && game.referee.tableState == TableState::OpenTable) return true;
    }
    return false;
}

} // namespace

TEST(WindowRecord, AnUnattendedGameReplaysToTheSameContactsInTheWindowAndInPoolSim) {
    startPlay();
    const std::string path = testing::TempDir() + "window_" + std::to_string(getpid()) + ".rec";
    ASSERT_TRUE(startRecording(path.c_str()));
    startComputer(seats(true, true, 3));
    testing::internal::CaptureStdout();
    const bool played = playDemonstration();
    const std::vector<std::string> lines = contacts(testing::internal::GetCapturedStdout());
    stopRecording();
    startComputer(Options{}); // people at both seats again
    ASSERT_TRUE(played) << "the game never ended, or the next never began";
    ASSERT_GT(lines.size(), 30u);

    startPlay();
    std::string error;
    ASSERT_TRUE(loadReplay(path.c_str(), error)) << error;
    testing::internal::CaptureStdout();
    advanceReplay(0.0); // what was played at once: the new game, its aim and its break
    std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_FALSE(replayFinished());
    replayKeyboard('p', 0, 0);
    testing::internal::CaptureStdout();
    advanceReplay(1e9); // paused: nothing plays however long it waits
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    replayKeyboard('p', 0, 0);
    testing::internal::CaptureStdout();
    advanceReplay(1e9); // every event's time has come; each shot's end hash is checked
    printed += testing::internal::GetCapturedStdout();
    EXPECT_TRUE(contacts(printed) == lines) << "the window's replay prints other contacts";
    EXPECT_TRUE(replayFinished());

    printed.clear();
    FILE* pipe = popen((std::string(POOL_SIM_PATH) + " --replay " + path + " 2>&1").c_str(), "r");
    for (char line[256]; std::fgets(line, sizeof line, pipe);) printed += line;
    EXPECT_EQ(pclose(pipe), 0) << printed; // pool-sim's replay ends with status 0
    EXPECT_TRUE(contacts(printed) == lines) << "pool-sim's replay prints other contacts";
    std::ifstream record(path);
    const std::string text((std::istreambuf_iterator<char>(record)), {});
    const auto countOf = [](const std::string& in, const std::string& part) {
        int count = 0;
        for (auto at = in.find(part); at != std::string::npos; at = in.find(part, at + 1)) ++count;
        return count;
    };
    EXPECT_EQ(countOf(printed, "playState="), countOf(text, "\nend ")) << "a verdict per shot";
    std::remove(path.c_str());
}

// A record whose shot ends elsewhere than it says stops the replay, naming the line and the shot.
TEST(WindowRecord, AReplayThatPartsFromTheGameStopsWithStatusTwo) {
    startPlay();
    Game copy;
    SilentContacts silent;
    copy.strike(0.0, 100.0);
    std::string text = std::string(RECORD_HEADER) + "\nnew 0\naim 0\nstrike 1 100\n";
    int line = 4;
    for (; !copy.atRest(); ++line) {
        copy.playFrame(LONGEST_FRAME_TIME, silent);
        text += formatEvent(RecordEvent::of(RecordEventKind::Frame, LONGEST_FRAME_TIME)) + "\n";
    }
    text += formatEvent(RecordEvent::end(copy.hash() ^ 1)) + "\n";
    const std::string path = testing::TempDir() + "parted_" + std::to_string(getpid()) + ".rec";
    std::ofstream(path) << text;
    std::string error;
    ASSERT_TRUE(loadReplay(path.c_str(), error)) << error;
    GTEST_FLAG_SET(death_test_style, "threadsafe"); // a fork would share the X connection
    EXPECT_EXIT((checkLeaksBeforeTheDriverUnloads(), advanceReplay(1e9)),
                testing::ExitedWithCode(2),
                ":" + std::to_string(line + 1) + ": shot 1 ends in a state that differs");
    std::remove(path.c_str());
}
