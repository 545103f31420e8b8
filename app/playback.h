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
// Rebuilds what the voices play of waveform `slot` (0..7, others ignored) into
// app.engine.playbackWaveforms. Call right after the edit of the slot's drawing or knobs, never
// later or twice: NOISE draws from the random generator, and the order of the draws is the sound.
void rebuildPlaybackWaveform(AppState& app, int slot);
