// Engine benchmarks: whole steps of the worst-case and of a typical song, an idle pump, exports.
#include "app/app_state.h"
#include "app/playback.h"
#include "app/song_render.h"
#include "app/startup.h"
#include "engine/virtual_sound_device.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>
#include <string>

namespace {

// A song playing through the virtual device at `rate`, the cursor moved on by the benchmark.
struct BenchSong {
    VirtualSoundDevice device;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();

    explicit BenchSong(int rate) {
        resetSongAndWaveforms(*app);
        app->stream.device = &device;
        setSampleRate(*app, rate);
    }
};

void placeNote(Song& song, int instrument, int step, int row, int length) {
    NoteGrid& grid = song.noteGrid[instrument];
    for (int k = 0; k < length; ++k) {
        grid.notePosition[step + k][row] = k + 1;
        grid.noteLength[step + k][row] = length;
        grid.nextRow[step + k][row] = k + 1 < length ? row : -1;
    }
}

void setDelays(Song& song, int instrument) {
    const float offsets[kDelayCount] = {1.0f, 0.37f, 0.21f};
    for (int d = 0; d < kDelayCount; ++d) {
        song.DelayParams[instrument][d][kDelayOffset] = offsets[d];
        song.DelayParams[instrument][d][kDelayFeedback] = 0.7f;
        song.DelayParams[instrument][d][kDelayLowPass] = 0.3f;
        song.DelayParams[instrument][d][kDelayPan] = 0.5f;
    }
}

// Every instrument sounds all 24 rows on every step, with 8 chord keys, CHORUS on, all three
// delays echoing and the resonant filter working.
void makeWorstCase(AppState& app) {
    Song& song = app.song;
    const float chord[kEditorChordKeys] = {0, 3, 7, 12, -12, 5, 10, -5};
    for (int i = 0; i < kInstrumentCount; ++i) {
        for (int row = 0; row < kNoteRows; ++row) placeNote(song, i, 0, row, kStepsPerBank);
        song.Chorus[i].count = kEditorChordKeys;
        for (int k = 0; k < kEditorChordKeys; ++k) song.Chorus[i].keys[k] = {chord[k], 0.5f};
        song.Effect[i][kKnobChorus].value = 1.0f;
        song.Effect[i][kKnobCutoff].value = 0.5f;
        song.Effect[i][kKnobRes].value = 0.6f;
        setDelays(song, i);
    }
    rebuildStream(app);
}

// Each instrument plays a one-step note every other step with one chord key; instrument 0
// has one delay.
void makeTypicalSong(AppState& app) {
    Song& song = app.song;
    for (int i = 0; i < kInstrumentCount; ++i)
        for (int step = 0; step < kStepsPerBank; step += 2)
            placeNote(song, i, step, (step * 5 + i * 7) % kNoteRows, 1);
    song.DelayParams[0][0][kDelayFeedback] = 0.5f;
    rebuildStream(app);
}

// One iteration is one step: the cursor enters the next chunk and the pump renders a step.
void runSteps(benchmark::State& state, BenchSong& bench) {
    AppState& app = *bench.app;
    startPlayback(app);
    const int chunkBytes = 4 * app.engine.chunkFrames;
    int chunk = 0;
    for (auto _ : state) {
        bench.device.setPlayCursor(chunk * chunkBytes);
        pumpAudio(app);
        chunk = (chunk + 1) % kRingChunks;
    }
    const double stepSeconds =
        static_cast<double>(app.engine.chunkFrames) / static_cast<double>(app.engine.streamRate);
    // Seconds of sound made per second of processor time: the real-time factor.
    state.counters["realtime"] = benchmark::Counter(
        stepSeconds * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}

void BM_WorstCaseStep44100(benchmark::State& state) {
    BenchSong bench(44100);
    makeWorstCase(*bench.app);
    runSteps(state, bench);
}
BENCHMARK(BM_WorstCaseStep44100)->Unit(benchmark::kMillisecond);

void BM_TypicalSongStep44100(benchmark::State& state) {
    BenchSong bench(44100);
    makeTypicalSong(*bench.app);
    runSteps(state, bench);
}
BENCHMARK(BM_TypicalSongStep44100)->Unit(benchmark::kMicrosecond);

// A pump that finds the cursor in the chunk it last saw: meters and marker only.
void BM_PumpWithoutStep(benchmark::State& state) {
    BenchSong bench(44100);
    makeTypicalSong(*bench.app);
    AppState& app = *bench.app;
    startPlayback(app);
    pumpAudio(app); // takes the first step
    for (auto _ : state) {
        pumpAudio(app);
        benchmark::DoNotOptimize(app.stream.volumeLevel);
    }
}
BENCHMARK(BM_PumpWithoutStep)->Unit(benchmark::kNanosecond);

// File > Export Song of the song `make` builds: `steps` steps at 44100 Hz in the format of the
// benchmark's argument, rendered on the calling thread into a file under /tmp. Wall-clock time,
// for the files are part of it; the realtime counter is seconds of sound per second.
void runExport(benchmark::State& state, void (*make)(AppState&), int steps) {
    BenchSong bench(44100);
    make(*bench.app);
    auto source = std::make_unique<RenderSource>();
    source->song = bench.app->song;
    source->playbackWaveforms = bench.app->engine.playbackWaveforms;
    source->sampleRate = 44100;
    const auto format = static_cast<AudioFormat>(state.range(0));
    const std::string path =
        std::string("/tmp/humbrook-bench-export.") + audioFormatExtension(format);
    const RenderRequest request = {path, steps, format, false, false, false};
    for (auto _ : state) {
        RenderProgress progress;
        std::string error;
        if (renderSongFiles(*source, request, progress, error) != RenderOutcome::Written)
            state.SkipWithError(error.c_str());
    }
    std::remove(path.c_str());
    const double stepSeconds = static_cast<double>(bench.app->engine.chunkFrames) / 44100.0;
    state.counters["realtime"] = benchmark::Counter(
        stepSeconds * steps * static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(audioFormatExtension(format));
}

void BM_ExportWorstCase44100(benchmark::State& state) {
    runExport(state, makeWorstCase, 32);
}
BENCHMARK(BM_ExportWorstCase44100)
    ->Arg(static_cast<int>(AudioFormat::Wav16))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_ExportTypicalSong44100(benchmark::State& state) {
    runExport(state, makeTypicalSong, 2000);
}
BENCHMARK(BM_ExportTypicalSong44100)
    ->Arg(static_cast<int>(AudioFormat::Wav16))
    ->Arg(static_cast<int>(AudioFormat::Flac24))
    ->Arg(static_cast<int>(AudioFormat::OggVorbis))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
