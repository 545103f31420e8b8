// The edit history: the time to record, undo and redo a step, and the memory of 200 steps on the
// largest example song and on a song with eight full sound-file slots.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "app/app_state.h"
#include "app/edit_history.h"
#include "app/playback.h"
#include "app/script_session.h"
#include "app/scripted_platform.h"
#include "app/song_commands.h"
#include "app/startup.h"
#include "tools/reset_song.h"

namespace {

const std::filesystem::path kExamples =
    std::filesystem::path(__FILE__).parent_path().parent_path() / "examples";

// night_drive.zwv is the largest example song.
std::unique_ptr<AppState> exampleSong(const char* name) {
    auto app = std::make_unique<AppState>();
    resetSong(app->song, app->clipboards, app->ui.currentInstrument);
    rebuildStream(*app);
    std::ostringstream lines;
    ScriptedPlatform platform(lines);
    loadSongFromPath(*app, (kExamples / name).string(), platform);
    return app;
}

FileSamples fullSamples(float value) {
    std::shared_ptr<float[]> buffer = newFileSampleBuffer();
    for (int k = 0; k < kMaxFileSamples; ++k) buffer[k] = value + static_cast<float>(k % 100);
    return {kMaxFileSamples, buffer};
}

std::unique_ptr<AppState> songWithFullSlots() {
    auto app = exampleSong("night_drive.zwv");
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) {
        app->song.SoundType[slot] = 1;
        app->song.SoundFileParams[slot] = {44100, 2, 0};
        app->song.SoundFileVals[slot] = fullSamples(static_cast<float>(slot));
    }
    return app;
}

// The kinds of gesture a session is made of, in turn: a note drawn, a knob turned, a stroke on
// an envelope, a stroke on a waveform, a bank of notes pasted, a waveform reset.
void typicalEdit(Song& song, int k) {
    const int instrument = k % kInstrumentCount;
    const float value = static_cast<float>(k % 97) / 97.0f;
    switch (k % 6) {
    case 0: {
        NoteGrid& grid = song.noteGrid[instrument];
        const int step = k % kGridSteps, row = k % kNoteRows;
        grid.notePosition[step][row] = grid.notePosition[step][row] ? 0 : 1;
        grid.noteLength[step][row] = 1;
        grid.nextRow[step][row] = -1;
        break;
    }
    case 1:
        song.Effect[instrument][k % kEffectKnobCount].value = value;
        break;
    case 2:
        for (int point = 50; point < 100; ++point) song.Envelope[k % 8][point] = value;
        break;
    case 3:
        for (int sample = 100; sample < 200; ++sample) song.Sound[k % 8][sample] = 100 * value;
        break;
    case 4: {
        NoteGrid& grid = song.noteGrid[instrument];
        const int first = kStepsPerBank * (k % kEditableBankCount);
        for (int step = first; step < first + kStepsPerBank; ++step) {
            for (int row = 0; row < kNoteRows; ++row) {
                grid.notePosition[step][row] = (row + k) % 5 == 0 ? 1 : 0;
                grid.noteLength[step][row] = 1;
                grid.nextRow[step][row] = -1;
            }
            song.Pan[instrument][step] = value;
            song.Vel[instrument][step] = 1.0f - value;
        }
        break;
    }
    default:
        for (int sample = 0; sample < kWaveformSamples; ++sample)
            song.Sound[k % 8][sample] =
                127.0f * static_cast<float>(std::sin(sample * 0.018 * (1 + k % 4)));
        break;
    }
}

// One gesture's end: a note drawn, compared with the view and recorded, in a history already
// holding 200 steps.
void BM_RecordNoteStep(benchmark::State& state) {
    auto app = exampleSong("night_drive.zwv");
    EditHistory history;
    history.restart(app->song, {});
    for (int k = 0; k < 200; ++k) {
        typicalEdit(app->song, k);
        history.record(app->song, "Edit", {});
    }
    int k = 0;
    for (auto _ : state) {
        typicalEdit(app->song, 6 * k++);
        benchmark::DoNotOptimize(history.record(app->song, "Draw Notes", {}));
    }
}
BENCHMARK(BM_RecordNoteStep)->Unit(benchmark::kMicrosecond);

// A gesture that changed nothing: the comparison alone (every key and click pays it).
void BM_RecordNothing(benchmark::State& state) {
    auto app = exampleSong("night_drive.zwv");
    EditHistory history;
    history.restart(app->song, {});
    for (auto _ : state) benchmark::DoNotOptimize(history.record(app->song, "Edit", {}));
}
BENCHMARK(BM_RecordNothing)->Unit(benchmark::kMicrosecond);

// File > Open of another song: every field differs.
void BM_RecordOpenStep(benchmark::State& state) {
    auto first = exampleSong("night_drive.zwv");
    auto second = exampleSong("slow_tide.zwv");
    auto song = std::make_unique<Song>(first->song);
    EditHistory history;
    history.restart(*song, {});
    int k = 0;
    for (auto _ : state) {
        state.PauseTiming();
        *song = (k++ % 2 == 0) ? second->song : first->song;
        state.ResumeTiming();
        benchmark::DoNotOptimize(history.record(*song, "Open", {}));
    }
}
BENCHMARK(BM_RecordOpenStep)->Unit(benchmark::kMicrosecond);

// Undo and redo of a note, the history's part (the follow-ups and redraws come on top).
void BM_UndoRedoNoteStep(benchmark::State& state) {
    auto app = exampleSong("night_drive.zwv");
    EditHistory history;
    history.restart(app->song, {});
    typicalEdit(app->song, 0);
    history.record(app->song, "Draw Notes", {});
    for (auto _ : state) {
        history.undo(app->song);
        history.redo(app->song);
    }
}
BENCHMARK(BM_UndoRedoNoteStep)->Unit(benchmark::kMicrosecond);

// Edit > Undo and then Redo (one iteration: both) as the window runs them: the step, its
// follow-ups (a waveform stroke rebuilds two playback waveforms), and every panel drawn again.
void BM_UndoRedoInSession(benchmark::State& state) {
    VirtualSoundDevice device;
    auto app = std::make_unique<AppState>();
    initAppState(*app, device);
    std::ostringstream protocol;
    ScriptSession session(*app, device, protocol);
    if (!startScriptSession(session)) state.SkipWithError("no screen");
    ScriptCommand command;
    for (const char* line : {"down 500 470", "move 560 540", "move 620 460", "up 620 460"}) {
        parseScriptLine(line, command);
        runScriptCommand(session, command);
    }
    ScriptCommand undo, redo;
    parseScriptLine("undo", undo);
    parseScriptLine("redo", redo);
    for (auto _ : state) {
        runScriptCommand(session, undo);
        runScriptCommand(session, redo);
    }
    endScriptSession(session);
    shutdownApp(app);
}
BENCHMARK(BM_UndoRedoInSession)->Unit(benchmark::kMillisecond);

enum class Session { Typical, Opens, Imports };

// The memory of 200 steps, in MB, and the steps kept within the 64 MB limit.
void measure200Steps(benchmark::State& state, bool fullSlots, Session session) {
    auto app = fullSlots ? songWithFullSlots() : exampleSong("night_drive.zwv");
    auto other = exampleSong("slow_tide.zwv");
    Song& song = app->song;
    const auto original = std::make_unique<Song>(song);
    for (auto _ : state) {
        EditHistory history;
        history.restart(song, {});
        // 200 steps; imports beyond the memory limit drop the oldest, so those stop at 200 tries.
        for (int k = 0; k < (session == Session::Imports ? 200 : 1000) && history.stepCount() < 200;
             ++k) {
            if (session == Session::Typical) typicalEdit(song, k);
            if (session == Session::Opens) song = k % 2 ? *original : other->song;
            if (session == Session::Imports)
                song.SoundFileVals[k % kWaveformSlotCount] = fullSamples(static_cast<float>(k));
            history.record(song, "Edit", {});
        }
        state.counters["MB"] = static_cast<double>(history.memoryBytes()) / (1 << 20);
        state.counters["steps_kept"] = static_cast<double>(history.stepCount());
    }
}

void BM_History200Typical_LargestExample(benchmark::State& state) {
    measure200Steps(state, false, Session::Typical);
}
void BM_History200Opens_LargestExample(benchmark::State& state) {
    measure200Steps(state, false, Session::Opens);
}
void BM_History200Typical_EightFullSlots(benchmark::State& state) {
    measure200Steps(state, true, Session::Typical);
}
void BM_History200Imports_EightFullSlots(benchmark::State& state) {
    measure200Steps(state, true, Session::Imports);
}
BENCHMARK(BM_History200Typical_LargestExample)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_History200Opens_LargestExample)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_History200Typical_EightFullSlots)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_History200Imports_EightFullSlots)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
