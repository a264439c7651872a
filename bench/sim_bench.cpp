// Benchmark of the shot loop: the opening break played to rest at a fixed frame time.
#include <benchmark/benchmark.h>

#include "sim/contact.h"
#include "sim/game.h"
#include "sim/strike.h"

namespace {

// Plays the break (angle 0, full power) to rest with frames of 1/framesPerSecond seconds.
void breakToRest(benchmark::State& state) {
    const double dt = 1.0 / static_cast<double>(state.range(0));
    long events = 0, frames = 0;
    Game game;
    SilentContacts silent;
    for (auto _ : state) {
        game.newGame();
        game.strike(0.0, MAX_SHOT_POWER);
        do {
            events += game.playFrame(dt, silent);
            ++frames;
        } while (!game.atRest());
        game.endShot();
    }
    state.counters["events/break"] =
        benchmark::Counter(static_cast<double>(events), benchmark::Counter::kAvgIterations);
    state.counters["frames/break"] =
        benchmark::Counter(static_cast<double>(frames), benchmark::Counter::kAvgIterations);
    // Events the loop resolves per second of its own running, and per second of the shot seen.
    state.counters["events/s"] =
        benchmark::Counter(static_cast<double>(events), benchmark::Counter::kIsRate);
    state.counters["events/play-s"] =
        frames > 0 ? static_cast<double>(events) / (static_cast<double>(frames) * dt) : 0.0;
    state.counters["us/frame"] = benchmark::Counter(
        static_cast<double>(frames), benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}
BENCHMARK(breakToRest)->Arg(60)->Arg(1000)->ArgName("fps")->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
