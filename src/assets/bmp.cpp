// BMP reader: checks every size against the file before it allocates or reads.
#include "assets/bmp.h"

#include "assets/open_file.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr uint16_t BMP_MAGIC = 0x4D42; // "BM" read little-endian
constexpr int FILE_HEADER_BYTES = 14;
constexpr int INFO_HEADER_BYTES = 40;
constexpr int64_t MAX_PIXEL_BYTES = int64_t(1) << 30; // far beyond any texture, well inside size_t
constexpr const char* TOO_SHORT = "the file is too short";

const char* lastError = "";

const char* openFailure(int error) {
    if (error == ENOENT) return "the file is missing";
    if (error == EISDIR) return "it is a folder";
    return std::strerror(error);
}

unsigned char* fail(const char* reason) {
    lastError = reason;
    return nullptr;
}

uint16_t u16(const unsigned char* p) { return uint16_t(p[0] | (p[1] << 8)); }
uint32_t u32(const unsigned char* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void decodeInfoHeader(const unsigned char* p, BitmapInfoHeader* info) {
    info->headerSize = u32(p);
    info->width = int32_t(u32(p + 4));
    info->height = int32_t(u32(p + 8));
    info->planes = u16(p + 12);
    info->bitsPerPixel = u16(p + 14);
    info->compression = u32(p + 16);
    info->imageSize = u32(p + 20);
    info->xPixelsPerMeter = int32_t(u32(p + 24));
    info->yPixelsPerMeter = int32_t(u32(p + 28));
    info->coloursUsed = u32(p + 32);
    info->coloursImportant = u32(p + 36);
}

// Rows of 3 bytes per pixel padded to 4, as the texture upload reads them.
int64_t rowBytes(const BitmapInfoHeader& info) {
    return (int64_t(info.width) * 3 + 3) & ~int64_t(3);
}

// Why the texture upload cannot take the image the header describes; null when it can.
const char* unreadableFormat(const BitmapInfoHeader& info) {
    if (info.bitsPerPixel != 24) return "not 24 bits per pixel";
    if (info.compression != 0) return "compressed";
    if (info.width <= 0 || info.height <= 0 || rowBytes(info) > MAX_PIXEL_BYTES / info.height)
        return "sizes out of range";
    return nullptr;
}

int64_t streamLength(std::FILE* file) {
    if (std::fseek(file, 0, SEEK_END) != 0) return -1;
    const long length = std::ftell(file);
    return length < 0 ? -1 : int64_t(length);
}

// BGR to RGB within each row; the padding at the end of a row is left alone.
void exchangeRedAndBlue(unsigned char* pixels, const BitmapInfoHeader& info) {
    for (int64_t row = 0; row < info.height; ++row) {
        unsigned char* p = pixels + row * rowBytes(info);
        for (int32_t x = 0; x < info.width; ++x, p += 3) {
            const unsigned char blue = p[0];
            p[0] = p[2];
            p[2] = blue;
        }
    }
}

} // namespace

unsigned char* readBitmapStream(std::FILE* file, const char* fileName, BitmapInfoHeader* info) {
    unsigned char header[FILE_HEADER_BYTES + INFO_HEADER_BYTES];
    if (std::fseek(file, 0, SEEK_SET) != 0) return fail("the file cannot be read");
    if (std::fread(header, 1, FILE_HEADER_BYTES, file) != FILE_HEADER_BYTES) return fail(TOO_SHORT);
    if (u16(header) != BMP_MAGIC) return fail("not a BMP file");
    if (std::fread(header + FILE_HEADER_BYTES, 1, INFO_HEADER_BYTES, file) != INFO_HEADER_BYTES)
        return fail(TOO_SHORT);
    decodeInfoHeader(header + FILE_HEADER_BYTES, info);
    const uint32_t dataOffset = u32(header + 10);

    // Such a header never passes the format check below.
    if (info->imageSize == 0 &&
        ((info->bitsPerPixel + 7) / 8 == 0 || info->height == 0 || info->width == 0))
        std::printf("ERROR: The bitmap file %s has a calculated bit map size of 0\n", fileName);
    if (const char* problem = unreadableFormat(*info)) return fail(problem);
    const int64_t needed = rowBytes(*info) * info->height;
    // The computed size leaves out row padding, so it only passes when the rows need none.
    const int64_t size =
        info->imageSize != 0 ? int64_t(info->imageSize) : int64_t(3) * info->height * info->width;
    if (size < needed) return fail("the header's image size is too short for its sizes");
    const int64_t length = streamLength(file);
    if (length < 0 || int64_t(dataOffset) + needed > length) return fail(TOO_SHORT);

    // Bytes past what the upload reads are never used, so they are not kept.
    auto* pixels = static_cast<unsigned char*>(std::malloc(size_t(needed)));
    if (pixels == nullptr) return fail("out of memory");
    if (std::fseek(file, long(dataOffset), SEEK_SET) != 0 ||
        std::fread(pixels, 1, size_t(needed), file) != size_t(needed)) {
        std::free(pixels);
        return fail(TOO_SHORT);
    }
    exchangeRedAndBlue(pixels, *info);
    return pixels;
}

unsigned char* readBitmap(const char* fileName, BitmapInfoHeader* info) {
    std::FILE* file = openFileForReading(fileName, "rb");
    if (file == nullptr) return fail(openFailure(errno));
    unsigned char* pixels = readBitmapStream(file, fileName, info);
    std::fclose(file);
    return pixels;
}

const char* bitmapLastError() { return lastError; }
