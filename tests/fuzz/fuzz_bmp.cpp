// Fuzzes the BMP reader with whole files held in memory.
#include <cstdio>
#include <cstdlib>

#include "assets/bmp.h"
#include "fuzz_memory.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    static char buffer[BUFSIZ];
    std::FILE* file = openMemory(data, size, buffer);
    if (file == nullptr) return 0;
    BitmapInfoHeader info;
    unsigned char* pixels = readBitmapStream(file, "fuzz.bmp", &info);
    std::fclose(file);
    if (pixels != nullptr) {
        // Everything the texture upload would read must be there.
        const size_t rowBytes = (size_t(info.width) * 3 + 3) & ~size_t(3);
        volatile unsigned char last = pixels[rowBytes * size_t(info.height) - 1];
        (void)last;
        std::free(pixels);
    }
    return 0;
}
