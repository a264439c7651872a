// A recording of the game's sound as a WAV file (16-bit signed mono PCM at SAMPLE_RATE), laid
// out in time: each block goes at its sample of the file, and the gaps between are silence.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "audio/sound.h"

// Samples kept in memory before they are written out (a device's thread never waits on the disk
// while the worker writes out every second).
constexpr std::int64_t WAV_BUFFER_SAMPLES = 2 * SAMPLE_RATE;
// The most data a WAV file's 32-bit sizes can describe, in whole samples: about 13 hours.
constexpr std::int64_t WAV_MAX_DATA_BYTES = 0xFFFFFFFFLL - 37;

// Safe to write from the device's thread and the worker's. The header's sizes are brought up to
// date at every write to the disk, so a game ended any way at all leaves a file that plays up to
// its last write. The first failure to write (a full disk) is said once on the error stream and
// ends the recording; the game plays on.
class WavWriter {
public:
    WavWriter() = default;
    ~WavWriter(); // writes out the rest
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    // Creates or empties `path` with the header of an empty recording. False, with the reason in
    // `error`, when it cannot (a file that cannot be written in place, a pipe, is refused).
    bool open(const std::string& path, std::string& error);
    // Puts `count` samples at sample `at` of the file, or at its end when that is later.
    void writeAt(std::int64_t at, const std::int16_t* samples, std::size_t count);
    // Silence up to sample `at`.
    void extendTo(std::int64_t at);
    // Writes out what waits in memory.
    void flush();

private:
    void appendSilence(std::int64_t to);
    void writeOut();
    std::size_t put(const unsigned char* bytes, std::size_t size, std::int64_t offset);
    void fail(const char* reason);
    std::int64_t end() const { return (dataBytes + std::int64_t(pending.size())) / 2; }

    std::mutex lock;
    std::string path;
    int file = -1;
    std::int64_t dataBytes = 0;         // written to the disk after the header
    std::vector<unsigned char> pending; // little-endian samples still in memory
    bool writing = false;               // opened, and nothing failed since
};
