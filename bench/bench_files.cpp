// Loading and saving a song whose eight slots each hold 400,000 sound-file samples (~25 MB).
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <sstream>
#include <string>
#include <unistd.h>

#include "app/app_state.h"
#include "app/autosave.h"
#include "app/playback.h"
#include "app/scripted_platform.h"
#include "app/song_commands.h"
#include "app/startup.h"
#include "files/song_reader.h"
#include "files/song_writer.h"

namespace {

std::unique_ptr<AppState> songWithFullSlots() {
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    rebuildStream(*app);
    uint32_t noise = 1;
    for (int s = 0; s < kWaveformSlotCount; ++s) {
        app->song.SoundType[s] = 1;
        app->song.SoundFileParams[s] = {44100, 2, 0};
        std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
        for (int k = 0; k < kMaxFileSamples; ++k) {
            noise = noise * 1664525u + 1013904223u;
            samples[k] = static_cast<float>(noise >> 8) / 16777216.0f * 254.0f - 127.0f;
        }
        app->song.SoundFileVals[s].fileSamples = samples;
        app->song.SoundFileVals[s].fileSampleCount = kMaxFileSamples;
    }
    return app;
}

std::string scratchPath() {
    return "/tmp/humbrook-bench-files-" + std::to_string(getpid()) + ".zwv";
}

// What the window's thread does when an autosave is due: copy the song (its sound-file samples
// are shared, not copied) and hand the copy to the autosave's worker. The write itself is waited
// for outside the timing.
void BM_AutosaveHandOver(benchmark::State& state) {
    auto app = songWithFullSlots();
    const std::string root = scratchPath() + ".autosave";
    Autosaver saver(root);
    double now = 0;
    saver.tick(app->song, "", true, now, 5); // the song is seen modified: a copy is planned
    for (auto _ : state) {
        now += 5;
        saver.tick(app->song, "", true, now, 5);
        state.PauseTiming();
        saver.waitIdle();
        state.ResumeTiming();
    }
    if (saver.writesDone() != static_cast<int>(state.iterations()))
        state.SkipWithError("an autosave was not written");
    saver.removeAutosave();
    std::remove(root.c_str());
}
// The write waited for in each iteration takes far longer than the hand-over: a fixed count.
BENCHMARK(BM_AutosaveHandOver)->Unit(benchmark::kMicrosecond)->Iterations(20);

// The autosave worker's work for one copy: the song text and the two files written atomically.
void BM_AutosaveWrite(benchmark::State& state) {
    auto app = songWithFullSlots();
    const std::string root = scratchPath() + ".autosave";
    Autosaver saver(root);
    for (auto _ : state) {
        if (!saver.writeNow(app->song, "/songs/big.zwv")) state.SkipWithError("write failed");
    }
    saver.removeAutosave();
    std::remove(root.c_str());
}
BENCHMARK(BM_AutosaveWrite)->Unit(benchmark::kMillisecond)->UseRealTime();

// File > Save's work: the text, written to a temporary file, flushed to disk, renamed.
void BM_SaveSong(benchmark::State& state) {
    auto app = songWithFullSlots();
    std::ostringstream lines;
    ScriptedPlatform platform(lines);
    const std::string path = scratchPath();
    for (auto _ : state) {
        if (!saveSongToPath(app->song, path, platform)) state.SkipWithError("save failed");
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_SaveSong)->Unit(benchmark::kMillisecond)->UseRealTime();

// File > Open's work: reading the file, parsing it, the waveform and stream rebuilds.
void BM_LoadSong(benchmark::State& state) {
    auto source = songWithFullSlots();
    std::ostringstream lines;
    ScriptedPlatform platform(lines);
    const std::string path = scratchPath();
    saveSongToPath(source->song, path, platform);
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    for (auto _ : state) {
        if (!loadSongFromPath(*app, path, platform) || platform.warningShown())
            state.SkipWithError("load failed");
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadSong)->Unit(benchmark::kMillisecond)->UseRealTime();

// The text alone, without the disk.
void BM_SongTextWrite(benchmark::State& state) {
    auto app = songWithFullSlots();
    for (auto _ : state) {
        std::string text;
        appendSongText(app->song, text);
        benchmark::DoNotOptimize(text.data());
        state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    }
}
BENCHMARK(BM_SongTextWrite)->Unit(benchmark::kMillisecond);

// The largest file Open accepts: the full song followed by its sound-file lines again and again
// up to the size limit, every value parsed and stored.
void BM_LoadLargestAllowedFile(benchmark::State& state) {
    auto source = songWithFullSlots();
    std::string text;
    appendSongText(source->song, text);
    const size_t sounds = text.find("SoundFileVals");
    const std::string repeated =
        text.substr(sounds, text.find('\n', text.rfind("SoundFileVals")) + 1 - sounds);
    while (text.size() + repeated.size() <= kMaxSongFileBytes) text += repeated;
    const std::string path = scratchPath();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    const bool written = file && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (file) std::fclose(file);
    std::ostringstream lines;
    ScriptedPlatform platform(lines);
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    for (auto _ : state) {
        if (!written || !loadSongFromPath(*app, path, platform) || platform.warningShown())
            state.SkipWithError("load failed");
    }
    state.counters["MB"] = static_cast<double>(text.size()) / 1e6;
    std::remove(path.c_str());
}
BENCHMARK(BM_LoadLargestAllowedFile)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_SongTextRead(benchmark::State& state) {
    auto source = songWithFullSlots();
    std::string text;
    appendSongText(source->song, text);
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    const WaveformChanged rebuild = [&app](int slot) { rebuildPlaybackWaveform(*app, slot); };
    for (auto _ : state)
        benchmark::DoNotOptimize(readSongText(app->song, text, rebuild).errorMessage);
}
BENCHMARK(BM_SongTextRead)->Unit(benchmark::kMillisecond);

// Copying the whole song document, as a snapshot of it would: the fixed part is copied and the
// eight full sound-file buffers are shared, not duplicated.
void BM_CopySong(benchmark::State& state) {
    auto app = songWithFullSlots();
    auto copy = std::make_unique<Song>();
    for (auto _ : state) {
        *copy = app->song;
        benchmark::DoNotOptimize(copy.get());
        benchmark::ClobberMemory();
    }
    state.counters["bytes"] = static_cast<double>(sizeof(Song));
}
BENCHMARK(BM_CopySong)->Unit(benchmark::kMicrosecond);

} // namespace
