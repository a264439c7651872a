// The break as heard: the game plays it at a fixed frame time through SDL's disk-writing audio
// driver, and the recording is checked against the contact lines the console printed.
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "app/frame_timer.h"
#include "app/keyboard.h"
#include "app/objects.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app/sound.h"
#include "render/cue.h"
#include "sim/game_state.h"
#include "sim/simulation.h"
#include "sim/strike.h"

namespace {
constexpr double FRAME_SECONDS = 1.0 / 60.0;
constexpr long FRAME_SAMPLES = 735; // 44100 frames per second, 60 frames of play per second
constexpr int WINDOW = 64;          // samples per step of the loudness envelope
constexpr int ISOLATION_FRAMES = 6; // a contact this far from any other is heard alone

struct Line {
    std::string text;
    int frame; // of the shot, from 0, in which the console printed it
};

struct Heard {
    int ball, other;
    ContactKind kind;
    double speed;
};

// Hears the contacts of the replayed break.
class Recorder final : public ContactHook {
public:
    std::vector<Heard> contacts;
    void contact(const Contact& c) override {
        contacts.push_back({c.ball, c.other, c.kind, c.speedBefore});
    }
};

std::vector<short> readRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::vector<short> samples(bytes.size() / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = short((unsigned char)bytes[2 * i] | ((unsigned char)bytes[2 * i + 1] << 8));
    return samples;
}

// Peak |sample| of each window.
std::vector<int> envelope(const std::vector<short>& samples) {
    std::vector<int> peaks(samples.size() / WINDOW, 0);
    for (size_t i = 0; i < peaks.size() * WINDOW; ++i)
        peaks[i / WINDOW] = std::max(peaks[i / WINDOW], std::abs(int(samples[i])));
    return peaks;
}

// Sample positions where the envelope leaps: above a floor of -50 dBFS and more than twice the
// loudest of the previous 8 windows (11.6 ms), at most one per 6 windows.
std::vector<long> onsets(const std::vector<int>& peaks) {
    std::vector<long> found;
    for (size_t w = 8; w < peaks.size(); ++w) {
        int before = 0;
        for (size_t b = w - 8; b < w; ++b) before = std::max(before, peaks[b]);
        if (peaks[w] < 100 || peaks[w] <= 2 * before) continue;
        if (!found.empty() && long(w) * WINDOW - found.back() < 6 * WINDOW) continue;
        found.push_back(long(w) * WINDOW);
    }
    return found;
}

void setFrameTime(double seconds) {
    FrameTimer::lastCount =
        FrameTimer::readCounter() - static_cast<std::int64_t>(seconds * FrameTimer::frequency);
}

// The console's lines of one shot struck by F8, with the frame each was printed in.
std::vector<Line> playBreak(const std::string& linesPath) {
    std::fflush(stdout);
    const int console = dup(STDOUT_FILENO);
    FILE* sink = std::fopen(linesPath.c_str(), "w");
    dup2(fileno(sink), STDOUT_FILENO);
    FILE* printed = std::fopen(linesPath.c_str(), "r");
    std::vector<Line> lines;
    special(SPECIAL_KEY_F8, 0, 0);
    char text[128];
    for (int frame = 0; installedIdle() && frame < 5000; ++frame) {
        setFrameTime(FRAME_SECONDS);
        installedIdle()();
        while (std::fgets(text, sizeof text, printed)) lines.push_back({text, frame});
        std::clearerr(printed);
    }
    std::fflush(stdout);
    dup2(console, STDOUT_FILENO);
    close(console);
    std::fclose(printed);
    std::fclose(sink);
    return lines;
}

// The same break replayed without sound on a copy of the game, for the speed of each contact.
std::vector<Heard> replayBreak(GameState copy) {
    Ball* copyBalls[BALL_COUNT];
    for (int i = 0; i < BALL_COUNT; ++i) copyBalls[i] = &copy.balls[i];
    copy.referee.cueBall = copyBalls[0];
    copy.referee.gameOverScratchHandler = nullptr;
    strikeBall(*copyBalls[0], cue->angle, 100.0);
    copy.referee.startShot();
    Recorder recorder;
    playShot(copyBalls, *table, copy.referee, recorder, FRAME_SECONDS, 5000);
    return recorder.contacts;
}

std::string lineOf(const Heard& c) {
    static const char* const WHAT[] = {"ball  ", "wall  ", "corner", "pocket"};
    char text[64];
    std::snprintf(text, sizeof text, "Ball %2d collided with %s %2d\n", c.ball,
                  WHAT[int(c.kind)], c.other);
    return text;
}

int soundClass(ContactKind kind) { return kind == ContactKind::Corner ? int(ContactKind::Cushion) : int(kind); }

class RecordingTest : public testing::Test {
protected:
    static void SetUpTestSuite() {
        dir = testing::TempDir() + "pool_recording_" + std::to_string(getpid());
        std::system(("mkdir -p " + dir).c_str());
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir + "/break.raw").c_str(), 1);
        init();
        startSound();
        ASSERT_TRUE(waitForSound());
        const GameState before = GameState::save(balls, referee);
        lines = playBreak(dir + "/lines.txt");
        replayed = replayBreak(before);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
        while (!soundDone() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        stopSound();
        samples = readRaw(dir + "/break.raw");
        peaks = envelope(samples);
        found = onsets(peaks);
    }
    // POOL_KEEP_RECORDING=FILE keeps the recording (raw, signed 16-bit mono at 44100 Hz).
    static void TearDownTestSuite() {
        if (const char* keep = std::getenv("POOL_KEEP_RECORDING"))
            std::system(("cp " + dir + "/break.raw " + keep).c_str());
        std::system(("rm -rf " + dir).c_str());
    }

    // Where the recording should sound the line: the strike's onset, then one frame per frame
    // of play up to the end of the frame that printed it.
    static long expectedAt(const Line& line) { return found.front() + (line.frame + 1) * FRAME_SAMPLES; }
    // The onset nearest to a sample position.
    static long nearestOnset(long at) {
        long best = found.front();
        for (long onset : found)
            if (std::labs(onset - at) < std::labs(best - at)) best = onset;
        return best;
    }
    // The loudest sample from just before `at` to two frames after it.
    static int peakAt(long at) {
        int peak = 0;
        for (long i = std::max(0L, at - WINDOW); i < at + 2 * FRAME_SAMPLES && i < long(samples.size()); ++i)
            peak = std::max(peak, std::abs(int(samples[i])));
        return peak;
    }

    static std::string dir;
    static std::vector<Line> lines;
    static std::vector<Heard> replayed;
    static std::vector<short> samples;
    static std::vector<int> peaks;
    static std::vector<long> found;
};
std::string RecordingTest::dir;
std::vector<Line> RecordingTest::lines;
std::vector<Heard> RecordingTest::replayed;
std::vector<short> RecordingTest::samples;
std::vector<int> RecordingTest::peaks;
std::vector<long> RecordingTest::found;

TEST_F(RecordingTest, TheBreakPrintedItsContactsAndWasRecorded) {
    ASSERT_GT(lines.size(), 20u);
    EXPECT_EQ(lines.front().text, "Ball  0 collided with ball    1\n");
    // The recording runs past the last contact line.
    ASSERT_FALSE(found.empty());
    EXPECT_GT(long(samples.size()), expectedAt(lines.back()));
}

TEST_F(RecordingTest, NoSampleReachesFullScale) {
    int loudest = 0;
    for (short s : samples) loudest = std::max(loudest, std::abs(int(s)));
    EXPECT_LT(loudest, 32767);
    EXPECT_GT(loudest, 16384); // the break itself is loud
}

TEST_F(RecordingTest, EveryContactLineHasAnOnsetWithinOneFrameInTheSameOrder) {
    ASSERT_FALSE(found.empty());
    long previous = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const long at = expectedAt(lines[i]);
        const long onset = nearestOnset(at);
        EXPECT_LE(std::labs(onset - at), FRAME_SAMPLES)
            << "line " << i << " (" << lines[i].text.substr(0, 31) << ", frame " << lines[i].frame
            << ") expected at sample " << at << ", nearest onset " << onset;
        EXPECT_GE(onset, previous) << "line " << i << " heard before the line above it";
        previous = onset;
    }
}

// Nothing is heard but the strike, the contacts and the pockets' rattle after them.
TEST_F(RecordingTest, EveryOnsetFollowsTheStrikeOrAContact) {
    for (long onset : found) {
        bool caused = onset == found.front();
        for (const Line& line : lines) {
            const long at = expectedAt(line);
            caused = caused || (onset >= at - FRAME_SAMPLES && onset <= at + 7 * FRAME_SAMPLES);
        }
        EXPECT_TRUE(caused) << "onset at sample " << onset << " without a contact";
    }
}

// Among contacts heard alone, of the same kind of sound, the faster one is the louder.
TEST_F(RecordingTest, FasterImpactsAreLouder) {
    ASSERT_EQ(replayed.size(), lines.size());
    std::vector<size_t> alone;
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lineOf(replayed[i]), lines[i].text) << "the replay differs at line " << i;
        bool isolated = lines[i].frame > 2 * ISOLATION_FRAMES;
        for (size_t j = 0; j < lines.size(); ++j)
            if (j != i && std::abs(lines[j].frame - lines[i].frame) <= ISOLATION_FRAMES) isolated = false;
        if (isolated) alone.push_back(i);
    }
    int compared = 0;
    for (size_t a : alone) {
        for (size_t b : alone) {
            if (soundClass(replayed[a].kind) != soundClass(replayed[b].kind)) continue;
            if (replayed[a].speed < 1.3 * replayed[b].speed + 0.5) continue;
            ++compared;
            EXPECT_GT(peakAt(expectedAt(lines[a])), peakAt(expectedAt(lines[b])))
                << lines[a].text << " at " << replayed[a].speed << " units/s against "
                << lines[b].text << " at " << replayed[b].speed;
        }
    }
    EXPECT_GT(compared, 5);
}
} // namespace
