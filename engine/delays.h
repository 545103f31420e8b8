// DELAY/REVERB: three recirculating delays per instrument, run in place on its ring.
#pragma once

#include "engine/stream_state.h"

struct AppState;

// Every entry not valid with stamp 0 and values 0, except entry 0, which receives the
// instrument's current DelayParams; head 0. The stream rebuild runs it for every instrument,
// so that a loaded song's delays sound from its first note.
void resetDelayAutomation(AppState& app, int instrument);

// Records the instrument's 18 delay values (0..3; others are ignored) as a change, stamped like
// a knob change.
void recordDelayChange(AppState& app, int instrument);

// The three delays of the instrument over interleaved ring samples start..end-1, each of the
// 18 values (delay d's value v at index 6 d + v) ramping from `from` to `to`. A delay whose
// feedback is at most 0.01 at both ends is skipped.
void applyDelays(AppState& app, int instrument, int start, int end, const float* from,
                 const float* to);

// Consumes the instrument's delay automation over start..end, calling applyDelays per span.
void processDelays(AppState& app, int instrument, int start, int end);

// Ring distance of a delay tap for an offset of `offset` ring samples: truncated, made even so
// the tap stays on the same channel, and taken modulo ringSamples (NaN and huge offsets too).
int delayTapDistance(float offset, int ringSamples);
