// DELAY/REVERB: three recirculating delays per instrument, run in place on its ring.
#pragma once

#include "engine/engine_state.h"
#include "engine/stream_state.h"

// Every entry not valid with stamp 0 and values 0, except entry 0, which receives the
// instrument's current DelayParams; head 0. The stream rebuild runs it for every instrument,
// so that a loaded song's delays sound from its first note.
void resetDelayAutomation(const Song& song, StreamState& stream, int instrument);

// Records the instrument's 18 delay values as a change, stamped like a knob change.
void recordDelayChange(const Song& song, const EngineState& engine, StreamState& stream,
                       int instrument);

// The three delay lines of the instrument over interleaved ring samples start..end-1, each of
// the 18 values (delay d's value v at index 6 d + v) ramping from `from` to `to`.
void applyDelays(EngineState& engine, StreamState& stream, int instrument, int start, int end,
                 const float* from, const float* to);

// Consumes the instrument's delay automation over start..end, calling applyDelays per span.
void processDelays(EngineState& engine, StreamState& stream, int instrument, int start, int end);
