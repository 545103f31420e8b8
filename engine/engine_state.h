// Running state of the sequencer and the voices: step counters, instrument rings, voice state.
#pragma once

#include "base/safe_convert.h"
#include "engine/playback_waveform.h"
#include "model/song.h"

#include <memory>

inline constexpr int kRingChunks = 5;     // chunks of the stream and of every ring
inline constexpr int kVoiceChordKeys = 8; // chord keys a voice plays (the editor's limit)
inline constexpr int kMinBpm = 10;        // slowest tempo a chunk is sized for
inline constexpr int kMaxBpm = 1000;      // fastest tempo a chunk is sized for
inline constexpr int kDefaultStreamRate = 22050;
inline constexpr int kVoiceScratchPerFrame = 4 + kNoteRows;

// Phases (in waveform samples, 0..350) of the three oscillators of one chord key.
struct VoicePhase {
    double main = 0.0;
    double lower = 0.0; // lower chorus oscillator
    double upper = 0.0; // upper chorus oscillator
};

// Per-note filter state, handed from one step of a note to the next.
struct NoteFilterState {
    float lowLeft = 0.0f;
    float bandLeft = 0.0f;
    float lowRight = 0.0f;
    float bandRight = 0.0f;
};

struct EngineState {
    // Sequencer. Invariant between steps: stepCounter[i] + noteLatency = 16 * PatternIdx[i] + s,
    // s being the step of the bank the instrument renders next.
    int stepCounter[kInstrumentCount] = {};
    int chunkIndex = 0;  // 0..4, ring chunk the play cursor was in when last examined
    int noteLatency = 1; // 1..3 chunks rendered ahead of the play cursor
    int chunkFrames = 0; // frames per chunk = samples per step
    int playing = 0;     // 1 while playback runs
    // Per instrument, 1 = toggle the song's Mute at the next bank change (or when playback stops).
    int pendingMuteToggle[kInstrumentCount] = {};
    // 1 = notes start as the song says; 0 = only the notes already sounding play on, each to
    // its end (an offline render's tail). Playback starts with 1.
    int startsNotes = 1;
    // Per instrument, the note rows that sounded in the step it rendered last, 0..24.
    int soundingRows[kInstrumentCount] = {};

    int streamRate = kDefaultStreamRate; // Hz, 22050 or 44100
    int ringSamples = 0;                 // 10 * chunkFrames interleaved stereo samples

    // Per instrument, ringSamples floats, even index left; chunk c starts at 2 * chunkFrames * c.
    std::unique_ptr<float[]> instrumentRing[kInstrumentCount];
    // kVoiceScratchPerFrame * chunkFrames floats: a row's stereo oscillator output, its pitch
    // curve per frame, the slide fraction per frame and one mono output per note row.
    std::unique_ptr<float[]> voiceScratch;

    // Hz of note rows 0..23 (C3 up to B4).
    float noteFreqTable[kNoteRows] = {130.815f, 138.6f, 146.83f, 155.55f, 164.815f, 174.615f,
                                      185.0f,   196.0f, 207.65f, 220.0f,  233.3f,   246.94f,
                                      261.63f,  277.2f, 293.66f, 311.1f,  329.63f,  349.23f,
                                      370.0f,   392.0f, 415.3f,  440.0f,  466.6f,   493.88f};

    // Handed along a running note to the row of its next step.
    VoicePhase voicePhases[kInstrumentCount][kNoteRows][kVoiceChordKeys];
    NoteFilterState noteFilterState[kInstrumentCount][kNoteRows];

    // What the voices play of each waveform slot; the application rebuilds it after edits.
    PlaybackWaveforms playbackWaveforms;
};

// Frames of one step: trunc(60 / (bpm * 4) * streamRate) in double precision. A tempo outside
// kMinBpm..kMaxBpm (NaN counts as too slow) is clamped into it first, so a damaged song can
// neither divide by zero nor ask for a ring of billions of samples; a rate that is not positive
// counts as 22050 Hz.
inline int chunkFramesFor(double bpm, int streamRate) {
    if (!(bpm >= kMinBpm)) bpm = kMinBpm;
    if (bpm > kMaxBpm) bpm = kMaxBpm;
    if (streamRate <= 0) streamRate = kDefaultStreamRate;
    return truncToInt(60.0 / (bpm * 4.0) * streamRate);
}

// Sets chunkFrames and ringSamples and allocates the four instrument rings (zeroed) and the
// voice scratch buffer for that chunk length. The stream rebuild calls it; nothing else
// allocates engine buffers.
inline void sizeEngineBuffers(EngineState& engine, int chunkFrames) {
    if (chunkFrames < 1) chunkFrames = 1;
    engine.chunkFrames = chunkFrames;
    engine.ringSamples = 2 * kRingChunks * chunkFrames;
    for (auto& ring : engine.instrumentRing)
        ring = std::make_unique<float[]>(static_cast<size_t>(engine.ringSamples));
    engine.voiceScratch =
        std::make_unique<float[]>(kVoiceScratchPerFrame * static_cast<size_t>(chunkFrames));
}
