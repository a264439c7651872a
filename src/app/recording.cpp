// The record of the game in the window: each event a line, timed since the recording began.
#include "app/recording.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "render/cue.h"

namespace {
struct Recording {
    void (*listener)(const RecordEvent&) = nullptr;
    std::FILE* file = nullptr;
    std::string path;
    std::chrono::steady_clock::time_point start;
} recording;

void fail() {
    std::fprintf(stderr, "pool: cannot write the record %s: %s; the game plays on without it\n",
                 recording.path.c_str(), std::strerror(errno));
    std::fclose(recording.file);
    recording.file = nullptr;
}

void writeLine(const RecordEvent& event) {
    const std::string line = formatEvent(event) + "\n";
    if (std::fputs(line.c_str(), recording.file) < 0) fail();
}
} // namespace

bool startRecording(const char* path) {
    recording.path = path;
    recording.file = std::fopen(path, "w");
    if (!recording.file) {
        std::fprintf(stderr, "pool: cannot write the record %s: %s\n", path, std::strerror(errno));
        return false;
    }
    recording.start = std::chrono::steady_clock::now();
    std::atexit(stopRecording); // a last line the disk refuses is said, not lost in silence
    // Whole lines only: a reader following the record as it grows never meets half a line.
    setvbuf(recording.file, nullptr, _IOLBF, 0);
    std::fprintf(recording.file, "%s\n", RECORD_HEADER);
    recordEvent(RecordEvent::newGame(0));
    recordEvent(RecordEvent::of(RecordEventKind::Aim, START_CUE_ANGLE));
    return true;
}

void stopRecording() {
    if (recording.file && std::fclose(recording.file) != 0)
        std::fprintf(stderr, "pool: cannot write the record %s: %s\n", recording.path.c_str(),
                     std::strerror(errno));
    recording.file = nullptr;
}

void setEventListener(void (*listener)(const RecordEvent& event)) { recording.listener = listener; }

void recordEvent(RecordEvent event) {
    if (recording.listener) recording.listener(event);
    if (!recording.file) return;
    event.at =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - recording.start).count();
    writeLine(event);
}
