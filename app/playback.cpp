// The engine's playback calls on the application's records: one call each for the commands.
#include "app/playback.h"

#include "app/app_state.h"
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
    stopPlayback(app.song, app.engine, app.stream);
}

void startPlayback(AppState& app) {
    FileRecorder recorder(app.recording);
    startPlayback(app.song, app.engine, app.stream, &recorder);
}

void pumpAudio(AppState& app) {
    FileRecorder recorder(app.recording);
    pumpAudio(app.song, app.engine, app.stream, &recorder, app.ui.currentInstrument);
}

bool setSampleRate(AppState& app, int rate) {
    FileRecorder recorder(app.recording);
    return setSampleRate(app.song, app.engine, app.stream, &recorder, rate);
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
