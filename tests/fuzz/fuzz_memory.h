// Read-only streams over fuzz inputs held in memory.
#pragma once

#include <cstdint>
#include <cstdio>

// A stream over the size bytes at data, or null. It reads through buffer rather than through
// one of its own, whose allocation would cost more than reading a small input does: buffer must
// outlive the stream and serve no other stream meanwhile.
inline std::FILE* openMemory(const uint8_t* data, size_t size, char (&buffer)[BUFSIZ]) {
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r"); // never written through
    if (file != nullptr) std::setvbuf(file, buffer, _IOFBF, BUFSIZ);
    return file;
}
