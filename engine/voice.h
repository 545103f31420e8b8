// Instrument voice renderer: one step of one instrument into its ring chunk.
#pragma once

#include "engine/engine_state.h"

// Renders step (stepCounter + noteLatency) mod 16 of bank PatternIdx into ring chunk
// (chunkIndex + noteLatency) mod 5 of the instrument's ring. Sound-file slots go to
// renderSampledChunk. The chunk is always zeroed first, also when the instrument is silent.
void renderInstrumentChunk(const Song& song, EngineState& engine, int instrument);

// The same for an instrument whose waveform slot plays a sound file.
void renderSampledChunk(const Song& song, EngineState& engine, int instrument);

// Oscillator phase increment per output sample (waveform samples) of chord key `chordKey`
// on note row `row`; draws one random number when RDMPCH is above 0.01.
float noteIncrement(const Song& song, const EngineState& engine, int instrument, int chordKey,
                    int row);

// What the drawn and the sampled voice share: the setup of one call, the cells of the step,
// the pitch curve of a row and the amplitude and filter stage.

// Setup of one call, valid while the call runs.
struct VoiceChunk {
    int instrument;
    int slot;         // waveform slot 0..7
    int frames;       // chunkFrames
    int step;         // 0..15 within the bank
    int absoluteStep; // 16 * PatternIdx + step, 0..255
    int keyCount;     // chord keys played, 0..8
    int slideStart;   // frame after which the increments glide to their targets, 0..frames
    float octaveFactor;
    float pitchFactor;
    float chorus;       // CHORUS knob
    float randomFreq;   // RDMFREQ knob
    float* ring;        // the chunk's 2 * frames samples in the instrument ring
    float* scratch;     // 2 * frames: one row's oscillator output, even index left
    float* pitchCurve;  // frames: pitch-curve value (or its phase factor) per frame of a row
    float* slideWeight; // frames: slide fraction q of frames past slideStart
    float* rowScratch;  // 24 * frames: one mono oscillator output per sounding row
    bool pitchRests;    // the pitch curve holds 0.5 at every point, in a sustaining mode
    bool startsNotes;   // the engine's startsNotes: false plays only notes already sounding
};

// A sounding cell of the step.
struct NoteCell {
    int row;      // 0..23
    int position; // 1-based step within the note
    int nextRow;  // row of the note's next step, -1 on its last step
    int length;   // steps of the note
};

// Phases and filter states a call hands to the next step of its notes. They are gathered during
// the call and stored at its end, so that a note sliding into a row never overwrites the state
// another note on that row still has to read in the same step.
struct NoteHandOver {
    VoicePhase phases[kNoteRows][kVoiceChordKeys];
    NoteFilterState filter[kNoteRows];
    bool phasesWritten[kNoteRows][kVoiceChordKeys];
    bool filterWritten[kNoteRows];
};

// Starts an empty hand-over.
void clearHandOver(NoteHandOver& handOver);

// Stores the gathered states into the instrument's voicePhases and noteFilterState.
void commitHandOver(EngineState& engine, int instrument, const NoteHandOver& handOver);

// Zeroes the ring chunk and the instrument's soundingRows, and fills `chunk`. Returns false when
// the instrument plays nothing this step (muted, no bank, no audible chord key, buffers not sized);
// the chunk then stays silent.
bool beginVoiceChunk(const Song& song, EngineState& engine, int instrument, VoiceChunk& chunk);

// Reads cell (absoluteStep, row); false when it is empty, or when it starts a note while no note
// may start. A next row outside 0..23 counts as the note's last step.
bool readNoteCell(const Song& song, const VoiceChunk& chunk, int row, NoteCell& cell);

// Pitch-curve value P of every frame of the chunk for this cell, as the renderer advances it.
// A resting curve gives 0.5 at every frame without being traced.
void tracePitchCurve(const Song& song, const VoiceChunk& chunk, const NoteCell& cell);

// Frame after which the note fades: 0.99 * frames on the note's last step or the measure's
// last step, else frames (no fade).
double fadeStartOf(const Song& song, const VoiceChunk& chunk, const NoteCell& cell);

// Amplitude envelope, per-note filter, pan, velocity, attack and fade of one row: adds the
// row's oscillator output (frame i at left[i * stride] and right[i * stride]) into the ring
// chunk and hands the filter state to the note's next row. `increment` is the main oscillator
// increment the last chord key reached at the end of the chunk.
void applyNoteAmplitude(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
                        const NoteCell& cell, float increment, const float* left,
                        const float* right, int stride, NoteHandOver& handOver);

// The amplitude stages of `count` drawn rows in row order, four side by side: row n's mono
// oscillator output is in[n] and its last main increment increments[n]. Each lane performs the
// operations of applyNoteAmplitude.
void applyNoteAmplitudes(const Song& song, const EngineState& engine, const VoiceChunk& chunk,
                         const NoteCell* cells, int count, const float* increments,
                         float* const* in, NoteHandOver& handOver);
