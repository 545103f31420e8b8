// Envelope evaluation: curve values, per-sample slopes and the next evaluation sample of a note.
#pragma once

#include "model/song.h"

struct EnvelopeReading {
    // Pitch only: index 0 is the pitch curve. Otherwise 0 amplitude, 1 cutoff, 2 ratio.
    float value[3];
    float slope[3];     // added to the value after every sample
    int nextEvaluation; // sample of the chunk at which to evaluate again
};

inline constexpr int kEnvelopeAmplitude = 0;
inline constexpr int kEnvelopeCutoff = 1;
inline constexpr int kEnvelopeRatio = 2;
inline constexpr int kEnvelopePitch = 0;

// Curves of the instrument's envelope bank at sample c of a chunk of `chunkFrames` frames (below
// 1 counts as 1), for a note of len steps of which k were played before this chunk.
EnvelopeReading evaluateEnvelope(const Song& song, int chunkFrames, int instrument, int k, int c,
                                 int len, bool pitchOnly);
