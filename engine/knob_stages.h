// The instrument-wide effect-knob stages: resonant low-pass filter and amplitude cutoff.
#pragma once

#include "engine/engine_state.h"
#include "engine/stream_state.h"

// Runs the instrument's amplitude cutoff and resonant filter (stream.effects) in place on its
// ring over interleaved samples start..end-1, consuming the instrument's knob automation: knobs
// CUTOFF, RES, DISTORT and DSTDRAG ramp toward each pending change and arrive at its stamp;
// RESOVER is read live from the song.
void applyKnobStages(const Song& song, EngineState& engine, StreamState& stream, int instrument,
                     int start, int end);
