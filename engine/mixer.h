// The master mix: knob stages, delays, volumes, clipping, 16-bit conversion and the stream write.
#pragma once

#include "engine/engine_state.h"
#include "engine/stream_state.h"

#include <cstdint>

class Recorder;

// Finishes ring chunk (chunkIndex + noteLatency) mod 5: knob stages of the unmuted instruments,
// delays of all four, the mix with Volume and MainVolume into mixRing, clipping into
// outputRing, the write into the stream and, while `recorder` records, the append to the
// recording. While playing it leaves the chunk under the play cursor alone.
void mixChunk(const Song& song, EngineState& engine, StreamState& stream, Recorder* recorder);

// Steps 6 and 7 of the mix over interleaved samples start..end-1: sums the four instrument
// rings with their volumes and the main volumes into mixRing, then clips to +-127 (setting
// `clipped`) and converts to 16 bits into outputRing. A NaN sample is written as 0.
void mixAndClip(const Song& song, const EngineState& engine, StreamState& stream, int start,
                int end);

// Each instrument's gain in the mix, per channel (0 left, 1 right): MainVolume times Volume.
void mixGains(const Song& song, float gains[kInstrumentCount][2]);

// A mix sample as a 16-bit output sample: clipped to +-127, times 256, truncated; NaN gives 0.
// Sets `clipped` to 1 when the sample had to be clipped.
int16_t outputSample(float mixed, float& clipped);
