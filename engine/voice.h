// Instrument voice renderer: one step of one instrument into its ring chunk.
#pragma once

struct AppState;

// Renders step (stepCounter + noteLatency) mod 16 of bank PatternIdx into ring chunk
// (chunkIndex + noteLatency) mod 5 of the instrument's ring. Sound-file slots go to
// renderSampledChunk. The chunk is always zeroed first, also when the instrument is silent.
void renderInstrumentChunk(AppState& app, int instrument);

// The same for an instrument whose waveform slot plays a sound file.
void renderSampledChunk(AppState& app, int instrument);

// Oscillator phase increment per output sample (waveform samples) of chord key `chordKey`
// on note row `row`; draws one random number when RDMPCH is above 0.01.
float noteIncrement(AppState& app, int instrument, int chordKey, int row);
