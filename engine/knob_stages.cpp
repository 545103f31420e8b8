// The instrument-wide effect-knob stages: resonant low-pass filter and amplitude cutoff.
#include "engine/knob_stages.h"

#include "app/app_state.h"
#include "engine/knob_automation.h"

#include <algorithm>
#include <cmath>

namespace {

// The knobs that ramp, in the order of the automation values handed to the stages.
constexpr int kRampedKnobs[4] = {kKnobCutoff, kKnobRes, kKnobDistort, kKnobDistDrag};
enum RampedValue { kRampCutoff = 0, kRampRes = 1, kRampDistort = 2, kRampDrag = 3 };

// Filter coefficient of a CUTOFF value: c^2 * 0.98 + 0.02, kept within 0.005..1.
float filterCoefficient(float cutoff) {
    return std::clamp(cutoff * cutoff * 0.98f + 0.02f, 0.005f, 1.0f);
}

// Follower rate of a DSTDRAG value: (r / 2)^8.
float followerRate(float drag) {
    const float half = drag * 0.5f;
    const float square = half * half;
    const float fourth = square * square;
    return fourth * fourth;
}

} // namespace

void amplitudeCutoff(AppState& app, int instrument, int start, int end, float d0, float d1,
                     float r0, float r1) {
    const int count = end - start;
    if (count <= 0) return;
    float* ring = app.engine.instrumentRing[instrument].get();
    KnobStageState& state = app.stream.knobStages[instrument];
    float rate = followerRate(r0);
    const float rateStep = (followerRate(r1) - rate) / static_cast<float>(count);
    float distort = d0;
    const float distortStep = (d1 - d0) / static_cast<float>(count);
    float follower[2] = {state.follower[0], state.follower[1]};
    for (int j = start; j < end; ++j) {
        float& f = follower[j & 1];
        const float x = ring[j];
        f += rate * (std::fabs(x) - f);
        const float threshold = (127.0f * distort - 2.0f * f) * distort;
        if ((0.0f < x && x < threshold) || (-threshold < x && x < 0.0f)) ring[j] = 0.0f;
        rate += rateStep;
        distort += distortStep;
    }
    state.follower[0] = follower[0];
    state.follower[1] = follower[1];
}

void resonantFilter(AppState& app, int instrument, int start, int end, float c0, float c1, float q0,
                    float q1) {
    const int count = end - start;
    if (count <= 0) return;
    const int ringSamples = app.engine.ringSamples;
    float* ring = app.engine.instrumentRing[instrument].get();
    KnobStageState& state = app.stream.knobStages[instrument];
    float a = filterCoefficient(c0);
    const float aStep = (filterCoefficient(c1) - a) / static_cast<float>(count);
    float q = 1.2f * q0;
    const float qStep = (1.2f * q1 - q) / static_cast<float>(count);
    const float limit = 40.0f * app.song.Effect[instrument][kKnobResOver].value + 2.0f;
    float low[2] = {state.filterLow[0], state.filterLow[1]};
    float band[2] = {state.filterBand[0], state.filterBand[1]};
    float y[2] = {state.filterOutput[0], state.filterOutput[1]};
    float g[2] = {state.filterGain[0], state.filterGain[1]};
    for (int j = start; j < end; ++j) {
        const int ch = j & 1;
        const float x = ring[j];
        band[ch] = band[ch] * (1.0f - a) + (x - y[ch]) * a;
        low[ch] = low[ch] * (1.0f - a) + band[ch] * a;
        y[ch] = y[ch] + low[ch];
        low[ch] = low[ch] * g[ch] * q;
        const float nextInput = ring[j + 1 < ringSamples ? j + 1 : 0];
        if (x == 0.0f && nextInput == 0.0f) {
            low[ch] = 0.0f;
            band[ch] = 0.0f;
        }
        g[ch] += ((1.0f - std::min(1.0f, std::fabs(low[ch]) / limit)) - g[ch]) * 0.02f;
        if (y[ch] > 508.0f || y[ch] < -508.0f) {
            low[ch] *= 0.5f;
            band[ch] *= 0.5f;
        }
        ring[j] = y[ch];
        a += aStep;
        q += qStep;
    }
    for (int ch = 0; ch < 2; ++ch) {
        state.filterLow[ch] = low[ch];
        state.filterBand[ch] = band[ch];
        state.filterOutput[ch] = y[ch];
        state.filterGain[ch] = g[ch];
    }
}

void applyKnobStages(AppState& app, int instrument, int start, int end) {
    KnobAutomation& ring = app.stream.knobAutomation[instrument];
    KnobRecord* knobs = app.song.Effect[instrument];
    auto readValues = [knobs](int entry, float* values) {
        for (int v = 0; v < 4; ++v) values[v] = knobs[kRampedKnobs[v]].history[entry];
    };
    auto writeValues = [knobs](int entry, const float* values) {
        for (int v = 0; v < 4; ++v) knobs[kRampedKnobs[v]].history[entry] = values[v];
    };
    auto runSpan = [&app, instrument](int spanStart, int spanEnd, const float* from,
                                      const float* to, bool ramping) {
        if (ramping) {
            amplitudeCutoff(app, instrument, spanStart, spanEnd, from[kRampDistort],
                            to[kRampDistort], from[kRampDrag], to[kRampDrag]);
            resonantFilter(app, instrument, spanStart, spanEnd, from[kRampCutoff], to[kRampCutoff],
                           from[kRampRes], to[kRampRes]);
        } else {
            // With the values settled the filter runs first.
            resonantFilter(app, instrument, spanStart, spanEnd, from[kRampCutoff],
                           from[kRampCutoff], from[kRampRes], from[kRampRes]);
            amplitudeCutoff(app, instrument, spanStart, spanEnd, from[kRampDistort],
                            from[kRampDistort], from[kRampDrag], from[kRampDrag]);
        }
    };
    consumeAutomation<4>(ring.valid, ring.stamp, ring.head, app.engine.ringSamples, start, end,
                         readValues, writeValues, runSpan);
}
