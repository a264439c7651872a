// The break as heard: the game plays it at a fixed frame time through SDL's disk-writing audio
// driver, and the recording is checked against the contact lines the console printed.
#include <GL/freeglut.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/keyboard.h"
#include "app/objects.h"
#include "app/shell.h"
#include "app/shot.h"
#include "app/sound.h"
#include "render/cue.h"
#include "sim/game.h"

namespace {
constexpr double FRAME_SECONDS = 1.0 / 60.0;
constexpr long FRAME_SAMPLES = 735; // 44100 frames per second, 60 frames of play per second
constexpr int WINDOW = 64;          // samples per step of the loudness envelope
constexpr int ISOLATION_FRAMES = 6; // a contact this far from any other is heard alone

struct Line {
    std::string text;
    int frame; // of the shot, from 0, in which the console printed it
};

class Recorder final : public ContactHook {
public:
    std::vector<Contact> contacts;
    void contact(const Contact& c) override { contacts.push_back(c); }
};

// Sample positions where the envelope (peak |sample| per window) leaps above -50 dBFS and past
// twice the loudest of the previous 8 windows (11.6 ms), at most one per 6 windows.
std::vector<long> onsets(const std::vector<short>& samples) {
    std::vector<int> peaks(samples.size() / WINDOW, 0);
    for (size_t i = 0; i < peaks.size() * WINDOW; ++i)
        peaks[i / WINDOW] = std::max(peaks[i / WINDOW], std::abs(int(samples[i])));
    std::vector<long> found;
    for (size_t w = 8; w < peaks.size(); ++w) {
        const int before = *std::max_element(peaks.begin() + long(w) - 8, peaks.begin() + long(w));
        if (peaks[w] < 100 || peaks[w] <= 2 * before) continue;
        if (!found.empty() && long(w) * WINDOW - found.back() < 6 * WINDOW) continue;
        found.push_back(long(w) * WINDOW);
    }
    return found;
}

// The console's lines of one shot struck by F8, with the frame each was printed in, and the
// seconds of each frame.
std::vector<Line> playBreak(std::vector<double>& frameSeconds) {
    std::vector<Line> lines;
    special(GLUT_KEY_F8, 0, 0);
    for (int frame = 0; installedIdle() && frame < 5000; ++frame) {
        testing::internal::CaptureStdout();
        playFrame(FRAME_SECONDS);
        frameSeconds.push_back(FRAME_SECONDS);
        std::istringstream printed(testing::internal::GetCapturedStdout());
        for (std::string text; std::getline(printed, text);) lines.push_back({text + "\n", frame});
    }
    return lines;
}

std::string lineOf(const Contact& c) {
    static const char* const WHAT[] = {"ball  ", "wall  ", "corner", "pocket"};
    char text[64];
    std::snprintf(text, sizeof text, "Ball %2d collided with %s %2d\n", c.ball,
                  WHAT[int(c.kind)], c.other);
    return text;
}

ContactKind soundOf(ContactKind k) { return k == ContactKind::Corner ? ContactKind::Cushion : k; }

TEST(RecordingTest, TheBreakIsHeardAsTheConsolePrintedIt) {
    const std::string path = testing::TempDir() + "pool_break_" + std::to_string(getpid());
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", path.c_str(), 1);
    init();
    startSound();
    ASSERT_TRUE(waitForSound());
    Game copy = game;
    std::vector<double> frameSeconds;
    const std::vector<Line> lines = playBreak(frameSeconds);
    for (int wait = 0; !soundDone() && wait < 1200; ++wait) // a minute at most
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stopSound();
    // The same break replayed without sound on a copy of the game, frame by frame as the game
    // played it, for the speed of each contact.
    copy.strike(cue->angle, 100.0);
    Recorder replay;
    for (const double seconds : frameSeconds) copy.playFrame(seconds, replay);
    const std::vector<Contact>& replayed = replay.contacts;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    std::vector<short> samples(size_t(in.tellg()) / sizeof(short));
    in.seekg(0).read(reinterpret_cast<char*>(samples.data()),
                     std::streamsize(samples.size() * sizeof(short)));
    std::remove(path.c_str());
    const std::vector<long> found = onsets(samples);
    ASSERT_FALSE(found.empty());

    // The break is loud, but no sample reaches full scale.
    const auto [low, high] = std::minmax_element(samples.begin(), samples.end());
    const int loudest = std::max(-int(*low), int(*high));
    EXPECT_LT(loudest, 32767);
    EXPECT_GT(loudest, 16384);

    // Where the recording should sound each line: the strike's onset, then one frame per frame
    // of play up to the end of the frame that printed it. Every line has an onset within one frame
    // of it, in the same order.
    std::vector<long> expected;
    for (const Line& line : lines)
        expected.push_back(found.front() + (line.frame + 1) * FRAME_SAMPLES);
    long previous = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const long onset = *std::min_element(found.begin(), found.end(), [&](long a, long b) {
            return std::labs(a - expected[i]) < std::labs(b - expected[i]);
        });
        EXPECT_LE(std::labs(onset - expected[i]), FRAME_SAMPLES)
            << lines[i].text << "expected at sample " << expected[i] << ", heard at " << onset;
        EXPECT_GE(onset, previous) << "line " << i << " heard before the line above it";
        previous = onset;
    }

    // Among contacts heard alone, of the same kind of sound, the faster one is the louder: the
    // loudest sample from just before each to two frames after it.
    ASSERT_EQ(replayed.size(), lines.size());
    const auto peakAt = [&](long at) {
        int peak = 0;
        for (long i = at - WINDOW; i < at + 2 * FRAME_SAMPLES; ++i)
            peak = std::max(peak, std::abs(int(samples.at(size_t(i)))));
        return peak;
    };
    std::vector<size_t> alone;
    for (size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lineOf(replayed[i]), lines[i].text) << "the replay differs at line " << i;
        const auto near = std::count_if(lines.begin(), lines.end(), [&](const Line& other) {
            return std::abs(other.frame - lines[i].frame) <= ISOLATION_FRAMES;
        });
        if (near == 1 && lines[i].frame > 2 * ISOLATION_FRAMES) alone.push_back(i);
    }
    int compared = 0;
    for (size_t a : alone)
        for (size_t b : alone) {
            if (soundOf(replayed[a].kind) != soundOf(replayed[b].kind)) continue;
            if (replayed[a].speedBefore < 1.3 * replayed[b].speedBefore + 0.5) continue;
            ++compared;
            EXPECT_GT(peakAt(expected[a]), peakAt(expected[b])) << lines[a].text << "at "
                << replayed[a].speedBefore << " units/s, louder than " << lines[b].text;
        }
    EXPECT_GT(compared, 5);
}
} // namespace
