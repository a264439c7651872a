// The WAV file: the canonical 44-byte header, and the samples written at their places in time.
#include "audio/wav_writer.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {
constexpr std::size_t HEADER_BYTES = 44;
constexpr int BYTES_PER_SAMPLE = 2;
constexpr std::size_t BUFFER_BYTES = WAV_BUFFER_SAMPLES * BYTES_PER_SAMPLE;

void putLittleEndian(unsigned char* at, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) at[i] = (value >> (8 * i)) & 0xFF;
}

std::array<unsigned char, HEADER_BYTES> header(std::uint32_t dataBytes) {
    std::array<unsigned char, HEADER_BYTES> bytes{};
    std::memcpy(&bytes[0], "RIFF", 4);
    putLittleEndian(&bytes[4], 36 + dataBytes, 4); // all that follows this field
    std::memcpy(&bytes[8], "WAVEfmt ", 8);
    putLittleEndian(&bytes[16], 16, 4); // the format's size
    putLittleEndian(&bytes[20], 1, 2);  // PCM
    putLittleEndian(&bytes[22], 1, 2);  // channels
    putLittleEndian(&bytes[24], SAMPLE_RATE, 4);
    putLittleEndian(&bytes[28], SAMPLE_RATE * BYTES_PER_SAMPLE, 4); // bytes per second
    putLittleEndian(&bytes[32], BYTES_PER_SAMPLE, 2);               // bytes per frame
    putLittleEndian(&bytes[34], 8 * BYTES_PER_SAMPLE, 2);           // bits per sample
    std::memcpy(&bytes[36], "data", 4);
    putLittleEndian(&bytes[40], dataBytes, 4);
    return bytes;
}
} // namespace

WavWriter::~WavWriter() {
    flush();
    if (file >= 0) ::close(file);
}

// A pipe without a reader would hold the start-up on the open, hence O_NONBLOCK; with one, the
// header cannot be written in place and the file is refused.
bool WavWriter::open(const std::string& name, std::string& error) {
    path = name;
    file = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NONBLOCK, 0666);
    const auto empty = header(0);
    writing = file >= 0 && put(empty.data(), empty.size(), 0) == empty.size();
    if (!writing) error = "cannot record to " + name + ": " + std::strerror(errno);
    pending.reserve(2 * BUFFER_BYTES);
    return writing;
}

void WavWriter::writeAt(std::int64_t at, const std::int16_t* samples, std::size_t count) {
    std::lock_guard<std::mutex> guard(lock);
    appendSilence(at);
    if (!writing) return;
    for (std::size_t i = 0; i < count; ++i) {
        const auto sample = std::uint16_t(samples[i]);
        pending.push_back(sample & 0xFF);
        pending.push_back(sample >> 8);
    }
    if (pending.size() >= BUFFER_BYTES) writeOut();
}

void WavWriter::extendTo(std::int64_t at) {
    std::lock_guard<std::mutex> guard(lock);
    appendSilence(at);
}

void WavWriter::flush() {
    std::lock_guard<std::mutex> guard(lock);
    if (writing && !pending.empty()) writeOut();
}

// A long silence is written out a buffer at a time, never held in memory whole.
void WavWriter::appendSilence(std::int64_t to) {
    while (writing && end() < to) {
        const std::int64_t samples = std::min(to - end(), WAV_BUFFER_SAMPLES);
        pending.resize(pending.size() + std::size_t(samples) * BYTES_PER_SAMPLE, 0);
        if (pending.size() >= BUFFER_BYTES) writeOut();
    }
}

// The samples, then the header that counts them: what reached the disk is always a whole file.
void WavWriter::writeOut() {
    const std::size_t room = std::size_t(WAV_MAX_DATA_BYTES - dataBytes);
    const std::size_t size = std::min(pending.size(), room);
    const std::size_t done = put(pending.data(), size, std::int64_t(HEADER_BYTES) + dataBytes);
    const int dataError = done < size ? errno : 0;
    dataBytes += std::int64_t(done - done % BYTES_PER_SAMPLE);
    const bool full = size < pending.size();
    pending.clear();
    const auto sizes = header(std::uint32_t(dataBytes));
    if (put(sizes.data(), sizes.size(), 0) < sizes.size()) fail(std::strerror(errno));
    else if (dataError != 0) fail(std::strerror(dataError));
    else if (full) fail("a WAV file holds no more");
}

// Writes as much of `bytes` as the disk takes; when that is not all, errno says why.
std::size_t WavWriter::put(const unsigned char* bytes, std::size_t size, std::int64_t offset) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t written = pwrite(file, bytes + done, size - done, off_t(offset + done));
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) {
            if (written == 0) errno = ENOSPC;
            break;
        }
        done += std::size_t(written);
    }
    return done;
}

void WavWriter::fail(const char* reason) {
    std::fprintf(stderr, "pool: cannot write the sound file %s (%s): recording stopped\n",
                 path.c_str(), reason);
    writing = false;
}
