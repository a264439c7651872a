// SDL2's audio device, or the clock, fed by the mixer. SDL calls for samples from its own thread;
// the mixer's lock keeps that apart from the game's thread, which schedules the sounds.
#include "audio/sdl_output.h"

#include <SDL.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "audio/shot_sounds.h"
#include "audio/wav_writer.h"

namespace {
constexpr int WORKER_NICENESS = 10;

void ignoreAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

// ALSA, under SDL, prints a paragraph on the error stream for every device it cannot open; the
// game's one line says what matters. Its handler is set only where SDL brought ALSA in.
void silenceAlsa() {
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (void* set = dlsym(RTLD_DEFAULT, "snd_lib_error_set_handler"))
        reinterpret_cast<SetHandler>(set)(ignoreAlsaMessage);
}
} // namespace

AudioOutput::AudioOutput(ShotSounds& shot, bool device, WavWriter* recording)
    : shot(shot), deviceWanted(device), recording(recording), devicePlays(device),
      worker([this] { run(); }) {}

AudioOutput::~AudioOutput() {
    {
        std::lock_guard<std::mutex> guard(stateLock);
        stopping = true;
    }
    changed.notify_all();
    worker.join();
}

bool AudioOutput::waitUntilStarted() {
    std::unique_lock<std::mutex> guard(stateLock);
    changed.wait(guard, [this] { return state != State::Starting; });
    return state != State::Off;
}

// The worker yields to the game's drawing: its start-up is never urgent.
void AudioOutput::run() {
    setpriority(PRIO_PROCESS, gettid(), WORKER_NICENESS);
    const bool started = start();
    std::unique_lock<std::mutex> guard(stateLock);
    state = started ? State::Open : State::Off;
    changed.notify_all();
    if (started) serve(guard);
    guard.unlock();
    close();
    if (recording) recordSilence();
    if (deviceWanted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Builds the sounds and opens the device, or the clock for a recording alone. SDL is kept from
// taking over the interrupt and termination signals, which would otherwise no longer end the
// game.
bool AudioOutput::start() {
    bank = SoundBank::synthesise();
    if (deviceWanted) {
        silenceAlsa();
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
        SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Pool");
    }
    const bool opened = (deviceWanted && SDL_InitSubSystem(SDL_INIT_AUDIO) == 0 && openDevice()) ||
                        fallBack("no audio device");
    if (!opened) return false;
    mixer.setPlayListener([this] { wake(); });
    shot.attach(mixer, bank);
    return true;
}

// A device that fails is given up for good, said once; a recording goes on at the clock's pace.
bool AudioOutput::fallBack(const char* trouble) {
    if (devicePlays)
        std::fprintf(stderr, "pool: %s (%s): %s\n", trouble, SDL_GetError(),
                     recording ? "recording without playing" : "playing without sound");
    devicePlays = false;
    if (recording) startClock();
    return recording != nullptr;
}

void AudioOutput::serve(std::unique_lock<std::mutex>& guard) {
    while (!stopping) {
        if (state == State::Open) serveOpen(guard);
        else if (state == State::Closed) serveClosed(guard);
        else changed.wait(guard, [this] { return stopping; });
    }
}

// The device closes once the mixer has been quiet for a while, the clock as soon as it is. Both
// close outside the lock, so that a sound asked for meanwhile never waits on them. The worker
// writes the device's recording out, so that the device's thread never waits on the disk.
void AudioOutput::serveOpen(std::unique_lock<std::mutex>& guard) {
    const double seconds = devicePlays ? QUIET_CLOSE_SECONDS : CLOCK_TICK_SECONDS;
    changed.wait_for(guard, std::chrono::duration<double>(seconds), [this] { return stopping; });
    if (stopping) return;
    guard.unlock();
    if (clockRuns) tick();
    else if (recording) recording->flush();
    guard.lock();
    if (!mixer.idle()) return;
    state = State::Closed; // a sound asked for while it closes opens it again
    guard.unlock();
    close();
    guard.lock();
}

// While closed, the next sound opens the output again, and a recording's silence is written out
// as it passes. The output is opened outside the lock, so that a sound asked for meanwhile never
// waits on it.
void AudioOutput::serveClosed(std::unique_lock<std::mutex>& guard) {
    const auto woken = [this] { return stopping || wanted; };
    if (recording)
        changed.wait_for(guard, std::chrono::duration<double>(SILENCE_WRITE_SECONDS), woken);
    else changed.wait(guard, woken);
    if (stopping) return;
    const bool reopen = wanted;
    guard.unlock();
    if (recording) recordSilence();
    const bool opened =
        reopen && ((devicePlays && openDevice()) || fallBack("the audio device went away"));
    guard.lock();
    if (!reopen) return;
    wanted = false;
    state = opened ? State::Open : State::Off;
}

void AudioOutput::wake() {
    {
        std::lock_guard<std::mutex> guard(stateLock);
        if (state != State::Closed) return;
        wanted = true;
    }
    changed.notify_all();
}

bool AudioOutput::openDevice() {
    SDL_AudioSpec want = {};
    want.freq = SAMPLE_RATE;
    want.format = AUDIO_S16SYS;
    want.channels = 1;
    want.samples = DEVICE_BUFFER_FRAMES;
    want.callback = [](void* self, Uint8* stream, int bytes) {
        static_cast<AudioOutput*>(self)->fill(stream, bytes);
    };
    want.userdata = this;
    device = SDL_OpenAudioDevice(nullptr, 0, &want, nullptr, 0); // SDL converts if need be
    if (device == 0) return false;
    SDL_PauseAudioDevice(device, 0);
    return true;
}

// An empty render takes the stopped stream up at the clock's start, so that every tick renders
// on from where the last one ended.
void AudioOutput::startClock() {
    clockStart = tickedAt = std::chrono::steady_clock::now();
    clockStartFrame = mixer.render(nullptr, 0);
    clockRuns = true;
}

// Renders the frames the clock has passed since the last tick.
void AudioOutput::tick() {
    tickedAt = std::chrono::steady_clock::now();
    const std::chrono::duration<double> since = tickedAt - clockStart;
    const std::int64_t due = clockStartFrame + std::llround(since.count() * SAMPLE_RATE);
    std::int16_t block[DEVICE_BUFFER_FRAMES];
    for (std::int64_t next = mixer.renderedFrames(); next < due; next = mixer.renderedFrames()) {
        const int frames = int(std::min<std::int64_t>(DEVICE_BUFFER_FRAMES, due - next));
        record(mixer.render(block, frames), block, frames);
    }
}

// The clock stops where its last tick left the stream.
void AudioOutput::close() {
    if (device != 0) {
        SDL_CloseAudioDevice(device);
        device = 0;
        mixer.stop(std::chrono::steady_clock::now());
    }
    if (clockRuns) mixer.stop(tickedAt);
    clockRuns = false;
}

void AudioOutput::fill(std::uint8_t* stream, int bytes) {
    auto* samples = reinterpret_cast<std::int16_t*>(stream);
    const int frames = bytes / int(sizeof(std::int16_t));
    record(mixer.render(samples, frames), samples, frames);
}

void AudioOutput::record(std::int64_t firstFrame, const std::int16_t* samples, int frames) {
    if (recording) recording->writeAt(firstFrame, samples, std::size_t(frames));
}

// Nothing renders: the recording's silence keeps pace with the stream.
void AudioOutput::recordSilence() {
    recording->extendTo(mixer.renderedFrames());
    recording->flush();
}
