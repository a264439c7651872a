// Reader for uncompressed 24-bit Windows BMP files, the format of every texture the game loads.
#pragma once

#include <cstdint>
#include <cstdio>

// The 40-byte info header as stored in the file (all fields little-endian on disk).
struct BitmapInfoHeader {
    uint32_t headerSize = 0;
    int32_t width = 0;  // pixels
    int32_t height = 0; // pixels; positive means rows stored bottom-up
    uint16_t planes = 0;
    uint16_t bitsPerPixel = 0;
    uint32_t compression = 0; // 0 = none
    uint32_t imageSize = 0;   // bytes of pixel data; 0 means "compute it"
    int32_t xPixelsPerMeter = 0;
    int32_t yPixelsPerMeter = 0;
    uint32_t coloursUsed = 0;
    uint32_t coloursImportant = 0;
};

// Reads the file into a malloc'd buffer of RGB bytes, rows bottom-up and each row padded to
// a multiple of 4 bytes (GL's default unpack alignment). Returns null when the file cannot be
// opened, is not a BMP, or is not something the texture upload can read in full: only 24-bit
// uncompressed images with positive sizes whose pixel data is all present are accepted.
// The caller frees the buffer with free(). On failure bitmapLastError() tells why.
unsigned char* readBitmap(const char* fileName, BitmapInfoHeader* info);

// The same, from an open stream positioned anywhere (it seeks itself; it does not close it).
// fileName only names the file in messages.
unsigned char* readBitmapStream(std::FILE* file, const char* fileName, BitmapInfoHeader* info);

// Why the last read failed ("the file is missing", "the file is too short", "not 24 bits per
// pixel", "compressed", "sizes out of range", ...); kept until the next failure.
const char* bitmapLastError();
