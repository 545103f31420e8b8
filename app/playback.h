// The engine's playback calls on the application's records: one call each for the commands.
#pragma once

struct AppState;

// rebuildStream, stopPlayback, startPlayback, pumpAudio and setSampleRate of engine/stream.h on
// app.song, app.engine and app.stream, with the recording file as the recorder; the pump's
// marker follows the current instrument.
void rebuildStream(AppState& app);
void stopPlayback(AppState& app);
void startPlayback(AppState& app);
void pumpAudio(AppState& app);
bool setSampleRate(AppState& app, int rate);

// Hands the instrument's knob values (or delay values) to the engine as a change.
void recordKnobChange(AppState& app, int instrument);
void recordDelayChange(AppState& app, int instrument);
