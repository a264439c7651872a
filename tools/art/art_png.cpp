// PNG writing for the art generator through libpng, compressed at its best level; no time or
// other varying chunk, so every run gives the same bytes.
#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "art/art.h"

namespace {
// libpng reports a failure by a long jump back into the function that set it up.
bool writeRows(std::FILE* file, const RgbaImage& image) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info == nullptr || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_compression_level(png, 9);
    png_set_IHDR(png, info, png_uint_32(image.width), png_uint_32(image.height), 8,
                 PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y)
        png_write_row(png, &image.bytes[size_t(y) * size_t(image.width) * 4]);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}
} // namespace

bool writePng(const std::string& path, const RgbaImage& image) {
    if (image.width <= 0 || image.height <= 0 ||
        image.bytes.size() != size_t(image.width) * size_t(image.height) * 4)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool written = writeRows(file, image);
    return std::fclose(file) == 0 && written;
}
