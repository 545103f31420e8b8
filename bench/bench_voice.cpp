// Voice renderer cost: one instrument step at 44100 Hz and 70 BPM, worst and typical load.
#include "app/app_state.h"
#include "engine/engine_state.h"
#include "engine/voice.h"
#include "model/random.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

// A song whose instrument 0 plays `rows` 16-step notes with `keys` chord keys; the counters aim
// at step 5 of bank 0, a step in the middle of every note.
std::unique_ptr<AppState> loadedApp(int rows, int keys, float chorus) {
    auto app = std::make_unique<AppState>();
    setSongDefaults(app->song);
    app->engine.streamRate = 44100;
    sizeEngineBuffers(app->engine, chunkFramesFor(70.0, 44100));
    for (auto& wave : app->engine.playbackWaveforms.wave) {
        for (int i = 0; i < kWaveformSamples; ++i)
            wave[i] = static_cast<float>(50.0 * std::sin(4.0 * std::numbers::pi * i / 350));
        wave[kWaveformSamples] = wave[0];
    }
    ChordKeySet& chord = app->song.Chorus[0];
    chord.count = keys;
    for (int j = 0; j < keys; ++j) chord.keys[j] = {static_cast<float>(j * 3 - 9), 0.8f};
    app->song.Effect[0][kKnobChorus].value = chorus;
    NoteGrid& grid = app->song.noteGrid[0];
    for (int r = 0; r < rows; ++r)
        for (int s = 0; s < 16; ++s) {
            grid.notePosition[s][r] = s + 1;
            grid.noteLength[s][r] = 16;
            grid.nextRow[s][r] = s < 15 ? r : -1;
        }
    app->engine.stepCounter[0] = 5 - app->engine.noteLatency;
    restartRandom();
    return app;
}

void renderStepBenchmark(benchmark::State& state, int rows, int keys, float chorus) {
    auto app = loadedApp(rows, keys, chorus);
    const int oscillators = rows * keys * (chorus > 0.001f ? 3 : 1);
    const double stepSeconds = 60.0 / (70.0 * 4);
    for (auto _ : state) {
        renderInstrumentChunk(app->song, app->engine, 0);
        benchmark::DoNotOptimize(app->engine.instrumentRing[0][0]);
    }
    // CPU time per call as a share of the step's real duration (target: worst 1/16, typical
    // 1/1000), and CPU time per oscillator and frame.
    const auto kPerIteration =
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert;
    state.counters["step_share"] = benchmark::Counter(stepSeconds, kPerIteration);
    state.counters["s_per_osc_frame"] = benchmark::Counter(
        static_cast<double>(oscillators) * app->engine.chunkFrames, kPerIteration);
}

// 24 rows x 8 chord keys x 3 chorus oscillators = 576 oscillators.
void BM_WorstCaseStep(benchmark::State& state) {
    renderStepBenchmark(state, 24, 8, 0.5f);
}

// 3 rows x 2 chord keys, chorus off.
void BM_TypicalStep(benchmark::State& state) {
    renderStepBenchmark(state, 3, 2, 0.0f);
}

} // namespace

BENCHMARK(BM_WorstCaseStep)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TypicalStep)->Unit(benchmark::kMicrosecond);
