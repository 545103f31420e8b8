// The instrument-wide effect-knob stages: resonant low-pass filter and amplitude cutoff.
#pragma once

#include "engine/engine_state.h"
#include "engine/stream_state.h"

// Runs both stages in place on the instrument's ring over interleaved samples start..end-1,
// consuming the instrument's knob automation: knobs CUTOFF, RES, DISTORT and DSTDRAG ramp
// toward each pending change and arrive at its stamp; RESOVER is read live.
void applyKnobStages(const Song& song, EngineState& engine, StreamState& stream, int instrument,
                     int start, int end);

// Dead-zone distortion over one span: DISTORT ramps d0 -> d1, DSTDRAG r0 -> r1. A sample whose
// magnitude lies under (127 d - 2 follower) d is silenced; the follower tracks the level at a
// rate of (DSTDRAG / 2)^8.
void amplitudeCutoff(EngineState& engine, StreamState& stream, int instrument, int start, int end,
                     float d0, float d1, float r0, float r1);

// Resonant low-pass over one span: CUTOFF ramps c0 -> c1, RES q0 -> q1; the gain that tames
// the ringing is limited by RESOVER.
void resonantFilter(const Song& song, EngineState& engine, StreamState& stream, int instrument,
                    int start, int end, float c0, float c1, float q0, float q1);

// Runs `sample(channelState, index)` over interleaved samples start..end-1, a left and right
// pair at a time, so that each channel's state can stay in registers (the stages and the delays
// share it; their sample lambdas are marked always_inline so that the state really does).
template <class Channel, class Sample>
void forEachStereoSample(int start, int end, Channel& left, Channel& right, Sample sample) {
    int j = start;
    if (j < end && (j & 1)) sample(right, j++);
    for (; j + 1 < end; j += 2) {
        sample(left, j);
        sample(right, j + 1);
    }
    if (j < end) sample(left, j);
}
