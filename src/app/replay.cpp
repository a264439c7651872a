// The replay in the window: the record's events played at their times through the game's own
// operations, so that frames, contact lines, sounds, the cue and the view are as they were.
#include "app/replay.h"

#include <GL/freeglut.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/event_play.h"
#include "app/frame_timer.h"
#include "app/keyboard.h"
#include "app/mouse.h"
#include "app/objects.h"
#include "app/shell.h"
#include "sim/record.h"

namespace {
struct Line {
    RecordEvent event;
    int number; // in the file
};

struct Replay {
    std::string path;
    std::vector<Line> lines;
    std::size_t next = 0; // the first event not yet played
    double seconds = 0.0; // replay time played so far
    bool paused = false;
    int timerChain = 0; // the timer chain that plays on; a pause ends the one before it
    RecordPlayer player;
    FrameTimer clock;
} replay;

[[noreturn]] void diverged(const Line& line, const std::string& why) {
    std::fprintf(stderr, "pool: %s:%d: %s\n", replay.path.c_str(), line.number, why.c_str());
    std::exit(2);
}

// Woken by a timer at the next event's time, so that the window takes no processor time while it
// waits, as it does between a person's keys.
void tick(int chain) {
    if (chain != replay.timerChain) return;
    advanceReplay(replay.clock.lap());
    if (replay.paused || replayFinished()) return;
    const double wait = replay.lines[replay.next].event.at - replay.seconds; // seconds
    glutTimerFunc(wait > 0.0 ? unsigned(wait * 1000.0) : 0u, tick, chain);
}
} // namespace

bool loadReplay(const char* path, std::string& error) {
    replay = Replay();
    replay.path = path;
    std::FILE* file = std::fopen(path, "r");
    if (!file) return error = std::string(path) + ": cannot be read", false;
    RecordReader reader(file);
    std::string text;
    bool read = reader.readHeader(error);
    while (read && reader.nextLine(text, error)) {
        Line line{RecordEvent(), reader.lineNumber()};
        read = parseEvent(text, line.event, error);
        if (read && line.event.kind == RecordEventKind::Play)
            read = (error = "a headless match's shot: play it with pool-sim --replay", false);
        replay.lines.push_back(line);
    }
    std::fclose(file);
    if (read && error.empty()) return true;
    error = std::string(path) + ":" + std::to_string(reader.lineNumber()) + ": " + error;
    return false;
}

void startReplay() {
    replay.clock.start();
    glutTimerFunc(0, tick, 0);
}

void advanceReplay(double seconds) {
    if (replay.paused) return;
    replay.seconds += seconds;
    while (replay.next < replay.lines.size()) {
        const Line& line = replay.lines[replay.next];
        if (line.event.at > replay.seconds) return;
        std::string error;
        if (!replay.player.check(line.event, game, error)) diverged(line, error);
        playEvent(line.event);
        replay.player.played(line.event, game);
        ++replay.next;
    }
}

bool replayFinished() { return replay.next == replay.lines.size(); }

void replayKeyboard(unsigned char key, int x, int y) {
    if (key == 'p') {
        replay.clock.lap(); // the time until now belongs to the replay, a pause's does not
        replay.paused = !replay.paused;
        if (!replay.paused) glutTimerFunc(0, tick, ++replay.timerChain);
        return;
    }
    if (key == KEY_ESCAPE || key == 'z' || key == 'x') keyboard(key, x, y);
}

void replaySpecial(int key, int x, int y) {
    if (specialKeyAction(key) == Action::View) special(key, x, y);
}

void replayMouse(int button, int state, int x, int y) {
    if (isWheel(button)) mouse(button, state, x, y);
}
