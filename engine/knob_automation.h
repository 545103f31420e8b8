// Knob automation: effect-knob changes stamped into a ring and consumed chunk by chunk.
#pragma once

#include "engine/engine_state.h"
#include "engine/stream_state.h"

// Start of playback: every entry not valid with stamp 0 and values 0, except entry 0, which
// receives the instrument's current knob values; head 0.
void resetKnobAutomation(const Song& song, StreamState& stream, int instrument);

// Records the instrument's 16 knob values as a change, stamped for the play cursor (or -1
// while stopped). The first change after a start replaces the head entry and so takes effect
// at once; later ones ramp. When every entry holds a pending change the new one is dropped, as
// is a change for an instrument outside 0..3.
void recordKnobChange(const Song& song, const EngineState& engine, StreamState& stream,
                      int instrument);

// Shared by the knob and the delay rings.

// Claims the entry a change made now goes into: from the head, the first entry not valid or
// recorded while stopped. It is marked valid and stamped for the play cursor moved back by
// noteLatency chunks (2 * noteLatency * chunkFrames samples, modulo ringSamples; -1 while
// stopped); the caller stores the values. -1 when one full turn finds no entry.
int claimAutomationEntry(const EngineState& engine, const StreamState& stream, int* valid,
                         int* stamp, int head);

// Walks an automation ring's pending changes over interleaved ring samples start..end-1 and
// calls runSpan(spanStart, spanEnd, from, to, ramping) for each span, with `from` and `to` the
// N values at its ends. A change stamped beyond `end` moves the head entry's values toward it
// by the share of the remaining distance that the span covers (and restamps the head at
// `end`); a change inside the span is reached at its stamp and becomes the head. The span after
// the last change holds the head's values (ramping false). An entry stamped -1 counts as
// position ringSamples - 1. readValues/writeValues copy an entry's N values out and in.
template <int N, class ReadValues, class WriteValues, class RunSpan>
void consumeAutomation(int* valid, int* stamp, int& head, int ringSamples, int start, int end,
                       ReadValues readValues, WriteValues writeValues, RunSpan runSpan) {
    float from[N];
    float next[N];
    float to[N];
    int cur = start;
    while (cur < end) {
        const int nextEntry = (head + 1) % kAutomationEntries;
        if (!valid[nextEntry]) break;
        int pos = stamp[nextEntry];
        if (pos < cur) pos += ringSamples;
        if (pos < cur) pos = cur; // a stamp from a ring of another size
        readValues(head, from);
        readValues(nextEntry, next);
        if (pos > end) {
            const float share = static_cast<float>(end - cur) / static_cast<float>(pos - cur);
            for (int v = 0; v < N; ++v) to[v] = from[v] + share * (next[v] - from[v]);
            writeValues(head, to);
            stamp[head] = end;
            runSpan(cur, end, from, to, true);
            cur = end;
        } else {
            runSpan(cur, pos, from, next, true);
            valid[head] = 0;
            head = nextEntry;
            cur = pos;
        }
    }
    if (cur != end) {
        readValues(head, from);
        runSpan(cur, end, from, from, false);
    }
}
