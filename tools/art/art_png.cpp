// PNG writing for the art generator: 8-bit RGBA in stored (uncompressed) deflate blocks, which
// needs no compression library and gives the same bytes on every run.
#include <algorithm>
#include <cstdio>

#include "art/art.h"

namespace {
constexpr size_t STORED_BLOCK_MAX = 65535; // bytes of one stored deflate block

void putBig32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(v >> shift));
}

uint32_t crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
    constexpr uint32_t MOD = 65521;
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % MOD;
        b = (b + a) % MOD;
    }
    return (b << 16) | a;
}

void putChunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& body) {
    putBig32(out, uint32_t(body.size()));
    const size_t start = out.size();
    out.insert(out.end(), type, type + 4);
    out.insert(out.end(), body.begin(), body.end());
    putBig32(out, crc32(&out[start], out.size() - start));
}

// A zlib stream of stored blocks holding `raw`.
std::vector<uint8_t> zlibStored(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> z = {0x78, 0x01};
    size_t at = 0;
    do {
        const size_t n = std::min(STORED_BLOCK_MAX, raw.size() - at);
        const bool last = at + n == raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(uint8_t(n));
        z.push_back(uint8_t(n >> 8));
        z.push_back(uint8_t(~n));
        z.push_back(uint8_t(~n >> 8));
        z.insert(z.end(), raw.begin() + long(at), raw.begin() + long(at + n));
        at += n;
    } while (at < raw.size());
    putBig32(z, adler32(raw));
    return z;
}
} // namespace

bool writePng(const std::string& path, const RgbaImage& image) {
    const size_t rowBytes = size_t(image.width) * 4;
    if (image.width <= 0 || image.height <= 0 ||
        image.bytes.size() != rowBytes * size_t(image.height))
        return false;
    std::vector<uint8_t> raw; // each row after its filter byte 0 (none)
    raw.reserve((rowBytes + 1) * size_t(image.height));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        const auto row = image.bytes.begin() + long(size_t(y) * rowBytes);
        raw.insert(raw.end(), row, row + long(rowBytes));
    }
    std::vector<uint8_t> header;
    putBig32(header, uint32_t(image.width));
    putBig32(header, uint32_t(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0}); // 8 bits, RGBA, deflate, no filter, no interlace
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    putChunk(out, "IHDR", header);
    putChunk(out, "IDAT", zlibStored(raw));
    putChunk(out, "IEND", {});
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && written;
}
