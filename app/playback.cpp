// The engine's playback calls on the application's records: one call each for the commands.
#include "app/playback.h"

#include "app/app_state.h"
#include "app/playback_moves.h"
#include "engine/delays.h"
#include "engine/knob_automation.h"
#include "engine/playback_waveform.h"
#include "engine/stream.h"
#include "files/recording.h"

void rebuildStream(AppState& app) {
    FileRecorder recorder(app.recording);
    rebuildStream(app.song, app.engine, app.stream, &recorder);
}

void stopPlayback(AppState& app) {
    const PlaybackFields before = playbackFieldsOf(app.song);
    stopPlayback(app.song, app.engine, app.stream);
    notePlaybackMoves(before, app.song, app.playbackMoves);
}

void startPlayback(AppState& app) {
    const PlaybackFields before = playbackFieldsOf(app.song);
    FileRecorder recorder(app.recording);
    startPlayback(app.song, app.engine, app.stream, &recorder);
    notePlaybackMoves(before, app.song, app.playbackMoves);
}

void pumpAudio(AppState& app) {
    const PlaybackFields before = playbackFieldsOf(app.song);
    FileRecorder recorder(app.recording);
    pumpAudio(app.song, app.engine, app.stream, &recorder, app.ui.currentInstrument);
    notePlaybackMoves(before, app.song, app.playbackMoves);
}

bool setSampleRate(AppState& app, int rate) {
    const PlaybackFields before = playbackFieldsOf(app.song);
    FileRecorder recorder(app.recording);
    const bool changed = setSampleRate(app.song, app.engine, app.stream, &recorder, rate);
    notePlaybackMoves(before, app.song, app.playbackMoves);
    return changed;
}

void restartAtBank(AppState& app, int instrument) {
    const int bank = app.song.PatternIdx[instrument];
    const int firstStep = bank == -1 ? 0 : kStepsPerBank * bank;
    app.engine.stepCounter[instrument] = firstStep - app.engine.noteLatency;
}

void recordKnobChange(AppState& app, int instrument) {
    recordKnobChange(app.song, app.engine, app.stream, instrument);
}

void recordDelayChange(AppState& app, int instrument) {
    recordDelayChange(app.song, app.engine, app.stream, instrument);
}

void rebuildPlaybackWaveform(AppState& app, int slot) {
    rebuildPlaybackWaveform(app.song, slot, app.engine.playbackWaveforms);
}
