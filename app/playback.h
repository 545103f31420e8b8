// The engine's playback calls on the application's records: one call each for the commands.
#pragma once

struct AppState;

// rebuildStream, stopPlayback, startPlayback, pumpAudio and setSampleRate of engine/stream.h on
// app.song, app.engine and app.stream, with the recording file as the recorder; the pump's
// marker follows the current instrument. What they change in the song is noted in
// app.playbackMoves.
void rebuildStream(AppState& app);
void stopPlayback(AppState& app);
void startPlayback(AppState& app);
void pumpAudio(AppState& app);
bool setSampleRate(AppState& app, int rate);

// Hands the instrument's knob values (or delay values) to the engine as a change.
void recordKnobChange(AppState& app, int instrument);
void recordDelayChange(AppState& app, int instrument);

// The instrument (0..3, not checked) plays its bank in play (PatternIdx) from the bank's first
// step on, as the next step rendered.
void restartAtBank(AppState& app, int instrument);
