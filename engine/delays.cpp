// DELAY/REVERB: three recirculating delays per instrument, run in place on its ring.
#include "engine/delays.h"

#include "base/safe_convert.h"
#include "engine/knob_automation.h"
#include "engine/knob_stages.h"

#include <algorithm>

namespace {

struct DelayChannel {
    float low;
    float band;
};

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

int delayTapDistance(float offset, int ringSamples) {
    int distance = truncToInt(offset);
    if (distance & 1) distance -= 1; // INT_MAX is odd, INT_MIN even: no overflow
    if (distance >= 0 && distance < ringSamples) return distance;
    distance %= ringSamples; // ringSamples is even: the parity stays
    return distance < 0 ? distance + ringSamples : distance;
}

void applyDelays(EngineState& engine, StreamState& stream, int instrument, int start, int end,
                 const float* from, const float* to) {
    const int count = end - start;
    const int ringSamples = engine.ringSamples;
    if (count <= 0 || ringSamples <= 0) return;
    float* ring = engine.instrumentRing[instrument].get();
    const float stepLength = static_cast<float>(ringSamples) * 0.2f; // one step in samples
    const float perSample = 1.0f / static_cast<float>(count);
    for (int d = 0; d < kDelayCount; ++d) {
        const float* a = from + d * kDelayValues;
        const float* b = to + d * kDelayValues;
        if (a[kDelayFeedback] <= 0.01f && b[kDelayFeedback] <= 0.01f) continue;
        auto offsetOf = [stepLength](const float* values) {
            return stepLength * values[kDelayOffset] +
                   (values[kDelayFineTune] - 0.5f) * stepLength * 0.1f;
        };
        auto smoothingOf = [](const float* values) {
            return std::min(0.99f, 1.0f - values[kDelayLowPass]);
        };
        float offset = offsetOf(a);
        const float offsetStep = (offsetOf(b) - offset) * perSample;
        float gain = a[kDelayFeedback] * a[kDelayFeedback];
        const float gainStep = (b[kDelayFeedback] * b[kDelayFeedback] - gain) * perSample;
        float smoothing = smoothingOf(a);
        const float smoothingStep = (smoothingOf(b) - smoothing) * perSample;
        float pan = a[kDelayPan];
        const float panStep = (b[kDelayPan] - pan) * perSample;

        DelayLineState& line = stream.delayLines[instrument][d];
        DelayChannel left{line.low[0], line.band[0]};
        DelayChannel right{line.low[1], line.band[1]};
        const bool fixedTap = offsetStep == 0.0f;
        const int fixedDistance = delayTapDistance(offset, ringSamples);
        forEachStereoSample(
            start, end, left, right, [&](DelayChannel & s, int j) __attribute__((always_inline)) {
                const int distance =
                    fixedTap ? fixedDistance : delayTapDistance(offset, ringSamples);
                const int tap = j >= distance ? j - distance : j - distance + ringSamples;
                const int other = tap + 1 < ringSamples ? tap + 1 : 0; // the other channel
                const float x = ring[tap] * (1.0f - pan) + ring[other] * pan;
                const float coefficient = 0.95f * smoothing + 0.05f;
                s.band = coefficient * (x - s.low) + (1.0f - coefficient) * s.band;
                s.low = s.low + coefficient * s.band;
                ring[j] += gain * s.low;
                s.low = 0.95f * s.low;
                offset += offsetStep;
                smoothing += smoothingStep;
                gain += gainStep;
                pan += panStep;
            });
        line.low[0] = left.low;
        line.band[0] = left.band;
        line.low[1] = right.low;
        line.band[1] = right.band;
    }
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
