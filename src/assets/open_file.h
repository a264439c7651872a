// Opening an art file for reading: a folder where a file should be is refused up front.
#pragma once

#include <cstdio>

// fopen for reading, except that a folder, which fopen opens on Linux and which then reads as
// an empty or broken file, gives null with errno set to EISDIR.
std::FILE* openFileForReading(const char* path, const char* mode);
