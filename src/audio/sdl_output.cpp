// SDL2's audio device fed by the mixer. SDL calls for samples from its own thread; the mixer's
// lock keeps that apart from the game's thread, which schedules the sounds.
#include "audio/sdl_output.h"

#include <SDL.h>
#include <dlfcn.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>

#include "audio/shot_sounds.h"

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

AudioOutput::AudioOutput(ShotSounds& shot) : shot(shot), worker([this] { run(); }) {}

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
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

// Builds the sounds and opens the device. SDL is kept from taking over the interrupt and
// termination signals, which would otherwise no longer end the game.
bool AudioOutput::start() {
    bank = SoundBank::synthesise();
    silenceAlsa();
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_AUDIO_DEVICE_APP_NAME, "Pool");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0 || !open()) {
        std::fprintf(stderr, "pool: no audio device (%s): playing without sound\n",
                     SDL_GetError());
        return false;
    }
    mixer.setPlayListener([this] { wake(); });
    shot.attach(mixer, bank);
    return true;
}

// While open, the device closes once the mixer is quiet; while closed, the next sound opens it.
// A device that cannot be opened again leaves the game silent from then on. The device is
// opened and closed outside the lock, so that a sound asked for meanwhile never waits on it.
void AudioOutput::serve(std::unique_lock<std::mutex>& guard) {
    const auto quiet = std::chrono::duration<double>(QUIET_CLOSE_SECONDS);
    while (!stopping) {
        if (state == State::Open) {
            changed.wait_for(guard, quiet, [this] { return stopping; });
            if (stopping || !mixer.idle()) continue;
            state = State::Closed; // a sound asked for while it closes opens it again
            guard.unlock();
            close();
            guard.lock();
            continue;
        }
        changed.wait(guard, [this] { return stopping || wanted; });
        if (stopping) break;
        guard.unlock();
        const bool opened = open();
        guard.lock();
        wanted = false;
        if (opened) {
            state = State::Open;
            continue;
        }
        std::fprintf(stderr, "pool: the audio device went away (%s): playing without sound\n",
                     SDL_GetError());
        state = State::Off;
        changed.wait(guard, [this] { return stopping; });
    }
}

void AudioOutput::wake() {
    {
        std::lock_guard<std::mutex> guard(stateLock);
        if (state != State::Closed) return;
        wanted = true;
    }
    changed.notify_all();
}

bool AudioOutput::open() {
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

void AudioOutput::close() {
    if (device == 0) return;
    SDL_CloseAudioDevice(device);
    device = 0;
    mixer.stop(std::chrono::steady_clock::now());
}

void AudioOutput::fill(std::uint8_t* stream, int bytes) {
    mixer.render(reinterpret_cast<std::int16_t*>(stream), bytes / int(sizeof(std::int16_t)));
}
