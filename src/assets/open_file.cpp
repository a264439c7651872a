// Opening an art file for reading, with a folder refused as such.
#include "assets/open_file.h"

#include <sys/stat.h>

#include <cerrno>

std::FILE* openFileForReading(const char* path, const char* mode) {
    std::FILE* file = std::fopen(path, mode);
    if (file == nullptr) return nullptr;
    struct stat status;
    if (fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode)) {
        std::fclose(file);
        errno = EISDIR;
        return nullptr;
    }
    return file;
}
