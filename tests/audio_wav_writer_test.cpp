// The WAV recording: samples at their places with silence between, a header that always counts
// what reached the disk, and files that cannot be written.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "audio/wav_writer.h"
#include "wav_test_util.h"

namespace {
std::string tempPath(const char* name) {
    return testing::TempDir() + "pool_" + name + "_" + std::to_string(getpid()) + ".wav";
}

// Blocks land at their samples with silence between. What has been written out is a whole WAV
// file even while the game goes on (a game killed then leaves it playable); a minute of quiet
// passes through the buffer to the disk.
TEST(WavWriterTest, SamplesAtTheirPlacesWithSilenceBetween) {
    const std::string path = tempPath("placed");
    const std::int16_t first[] = {1, -2, 32767, -32768};
    const std::int16_t later[] = {7};
    {
        WavWriter wav;
        std::string error;
        ASSERT_TRUE(wav.open(path, error)) << error;
        EXPECT_TRUE(wavSamples(path).empty());
        wav.writeAt(0, first, 4);
        wav.writeAt(6, later, 1);
        wav.flush();
        EXPECT_EQ(wavSamples(path), (std::vector<std::int16_t>{1, -2, 32767, -32768, 0, 0, 7}));
        wav.extendTo(60 * 44100);
        wav.writeAt(60 * 44100 + 2, later, 1);
    }
    const std::vector<std::int16_t> samples = wavSamples(path);
    std::remove(path.c_str());
    ASSERT_EQ(samples.size(), 60u * 44100 + 3);
    EXPECT_EQ(samples.back(), 7);
    EXPECT_EQ(std::count(samples.begin() + 7, samples.end(), 0), 60 * 44100 - 7 + 2);
}

// A file that cannot be made, or whose header cannot be rewritten in place (a pipe), is refused
// with the reason. A disk that fills mid-way (here a limit on the file's size) is said once;
// what fitted stays a whole WAV file, and the rest is let go while the game plays on.
TEST(WavWriterTest, RefusedFilesAndAFullDisk) {
    std::string error;
    EXPECT_FALSE(WavWriter().open(testing::TempDir() + "no-such-folder/x.wav", error));
    EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
    int pipeEnds[2];
    ASSERT_EQ(pipe(pipeEnds), 0);
    EXPECT_FALSE(WavWriter().open("/dev/fd/" + std::to_string(pipeEnds[1]), error));
    EXPECT_NE(error.find("Illegal seek"), std::string::npos) << error;
    close(pipeEnds[0]);
    close(pipeEnds[1]);

    const std::string path = tempPath("full");
    const std::vector<std::int16_t> second(44100, 1000);
    rlimit limit{}, small{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &limit), 0);
    small = {44 + 1000, limit.rlim_max}; // the header and 500 samples
    const auto oldHandler = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    {
        WavWriter wav;
        ASSERT_TRUE(wav.open(path, error)) << error;
        wav.writeAt(0, second.data(), second.size());
        wav.flush();
        wav.writeAt(44100, second.data(), second.size());
        wav.extendTo(10 * 44100);
    }
    const std::string said = testing::internal::GetCapturedStderr();
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(said, "pool: cannot write the sound file " + path +
                        " (File too large): recording stopped\n");
    EXPECT_EQ(wavSamples(path), std::vector<std::int16_t>(500, 1000));
    std::remove(path.c_str());
}
} // namespace
