// DELAY/REVERB: three recirculating delays per instrument, run in place on its ring.
#include "engine/delays.h"

#include "engine/knob_automation.h"

#include <algorithm>

namespace {

// Copies the song's delay values of an instrument into one automation entry.
void copyDelayParams(const Song& song, int instrument, float* values) {
    for (int d = 0; d < kDelayCount; ++d)
        for (int v = 0; v < kDelayValues; ++v)
            values[d * kDelayValues + v] = song.DelayParams[instrument][d][v];
}

} // namespace

void resetDelayAutomation(const Song& song, StreamState& stream, int instrument) {
    DelayAutomation& ring = stream.delayAutomation[instrument];
    for (int e = 0; e < kAutomationEntries; ++e) {
        ring.valid[e] = 0;
        ring.stamp[e] = 0;
        std::fill(std::begin(ring.values[e]), std::end(ring.values[e]), 0.0f);
    }
    copyDelayParams(song, instrument, ring.values[0]);
    ring.head = 0;
}

void recordDelayChange(const Song& song, const EngineState& engine, StreamState& stream,
                       int instrument) {
    if (instrument < 0 || instrument >= kInstrumentCount) return;
    DelayAutomation& ring = stream.delayAutomation[instrument];
    const int entry = claimAutomationEntry(engine, stream, ring.valid, ring.stamp, ring.head);
    if (entry < 0) return; // full: the change is dropped
    copyDelayParams(song, instrument, ring.values[entry]);
}

void applyDelays(EngineState& engine, StreamState& stream, int instrument, int start, int end,
                 const float* from, const float* to) {
    float* ring = engine.instrumentRing[instrument].get();
    for (int d = 0; d < kDelayCount; ++d)
        stream.effects[instrument].delays[d].process(
            ring, engine.ringSamples, start, end, from + d * kDelayValues, to + d * kDelayValues);
}

void processDelays(EngineState& engine, StreamState& stream, int instrument, int start, int end) {
    DelayAutomation& ring = stream.delayAutomation[instrument];
    auto readValues = [&ring](int entry, float* values) {
        std::copy(std::begin(ring.values[entry]), std::end(ring.values[entry]), values);
    };
    auto writeValues = [&ring](int entry, const float* values) {
        std::copy(values, values + kDelayAutomationValues, ring.values[entry]);
    };
    auto runSpan = [&engine, &stream, instrument](int spanStart, int spanEnd, const float* from,
                                                  const float* to, bool) {
        applyDelays(engine, stream, instrument, spanStart, spanEnd, from, to);
    };
    consumeAutomation<kDelayAutomationValues>(ring.valid, ring.stamp, ring.head, engine.ringSamples,
                                              start, end, readValues, writeValues, runSpan);
}
