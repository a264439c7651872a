// Reads a recording back as a WAV reader would, checking its header on the way.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// Little-endian field of `bytes` bytes at `at`.
inline std::uint32_t wavField(const std::vector<unsigned char>& file, size_t at, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i) value = value << 8 | file.at(at + size_t(i));
    return value;
}

// The samples of the WAV file at `path`, after checking that it is 16-bit mono PCM at 44100 Hz
// with sizes that match the file's; none when it is not.
inline std::vector<std::int16_t> wavSamples(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    const std::vector<unsigned char> file{std::istreambuf_iterator<char>(in), {}};
    if (file.size() < 44) {
        ADD_FAILURE() << path << " is " << file.size() << " bytes, shorter than a header";
        return {};
    }
    const std::string tags(file.begin(), file.begin() + 44);
    EXPECT_EQ(tags.substr(0, 4) + tags.substr(8, 8) + tags.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(wavField(file, 4, 4), file.size() - 8) << "RIFF size";
    EXPECT_EQ(wavField(file, 40, 4), file.size() - 44) << "data size";
    const std::vector<std::uint32_t> format = {
        wavField(file, 16, 4), wavField(file, 20, 2), wavField(file, 22, 2), wavField(file, 24, 4),
        wavField(file, 28, 4), wavField(file, 32, 2), wavField(file, 34, 2)};
    EXPECT_EQ(format, (std::vector<std::uint32_t>{16, 1, 1, 44100, 88200, 2, 16}))
        << "format size, PCM, channels, rate, bytes per second and per frame, bits";
    std::vector<std::int16_t> samples((file.size() - 44) / 2);
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = std::int16_t(wavField(file, 44 + 2 * i, 2));
    return samples;
}
