// The instrument-wide effect-knob stages: resonant low-pass filter and amplitude cutoff.
#include "engine/knob_stages.h"

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

struct FollowerChannel {
    float follower;
};

struct FilterChannel {
    float low;
    float band;
    float y;
    float gain;
};

// With CUTOFF 1 and RES 0 (a = 1, q = 0) the filter passes its input, and its state reduces to
// these few operations; for finite samples the results equal the full filter's bit for bit (a
// zero's sign aside, which nothing can hear). The gain then only moves toward 1, and once it has
// settled where its update no longer changes it the update is left out.
template <bool kGainMoves>
void passFilterSpan(float* ring, int ringSamples, int start, int end, FilterChannel& left,
                    FilterChannel& right) {
    forEachStereoSample(
        start, end, left, right,
        [ ring, ringSamples ](FilterChannel & s, int j) __attribute__((always_inline)) {
            const float x = ring[j];
            s.band = x - s.y;
            s.y = s.y + s.band;
            s.low = 0.0f;
            if (x == 0.0f && ring[j + 1 < ringSamples ? j + 1 : 0] == 0.0f) s.band = 0.0f;
            if (kGainMoves) s.gain += (1.0f - s.gain) * 0.02f;
            if (s.y > 508.0f || s.y < -508.0f) s.band *= 0.5f;
            ring[j] = s.y;
        });
}

bool gainSettled(float gain) {
    return gain + (1.0f - gain) * 0.02f == gain;
}

} // namespace

void amplitudeCutoff(EngineState& engine, StreamState& stream, int instrument, int start, int end,
                     float d0, float d1, float r0, float r1) {
    const int count = end - start;
    if (count <= 0) return;
    float* ring = engine.instrumentRing[instrument].get();
    KnobStageState& state = stream.knobStages[instrument];
    float rate = followerRate(r0);
    const float rateStep = (followerRate(r1) - rate) / static_cast<float>(count);
    // DISTORT 0 and DSTDRAG 0 throughout: nothing is silenced and the follower stands still.
    if (d0 == 0.0f && d1 == 0.0f && rate == 0.0f && rateStep == 0.0f) return;
    float distort = d0;
    const float distortStep = (d1 - d0) / static_cast<float>(count);
    FollowerChannel left{state.follower[0]};
    FollowerChannel right{state.follower[1]};
    forEachStereoSample(
        start, end, left, right, [&](FollowerChannel & s, int j) __attribute__((always_inline)) {
            const float x = ring[j];
            s.follower += rate * (std::fabs(x) - s.follower);
            const float threshold = (127.0f * distort - 2.0f * s.follower) * distort;
            if ((0.0f < x && x < threshold) || (-threshold < x && x < 0.0f)) ring[j] = 0.0f;
            rate += rateStep;
            distort += distortStep;
        });
    state.follower[0] = left.follower;
    state.follower[1] = right.follower;
}

void resonantFilter(const Song& song, EngineState& engine, StreamState& stream, int instrument,
                    int start, int end, float c0, float c1, float q0, float q1) {
    const int count = end - start;
    if (count <= 0) return;
    const int ringSamples = engine.ringSamples;
    float* ring = engine.instrumentRing[instrument].get();
    KnobStageState& state = stream.knobStages[instrument];
    float a = filterCoefficient(c0);
    const float aStep = (filterCoefficient(c1) - a) / static_cast<float>(count);
    float q = 1.2f * q0;
    const float qStep = (1.2f * q1 - q) / static_cast<float>(count);
    const float limit = 40.0f * song.Effect[instrument][kKnobResOver].value + 2.0f;
    FilterChannel left{state.filterLow[0], state.filterBand[0], state.filterOutput[0],
                       state.filterGain[0]};
    FilterChannel right{state.filterLow[1], state.filterBand[1], state.filterOutput[1],
                        state.filterGain[1]};
    const bool finiteState =
        std::isfinite(left.low + left.band + left.gain + right.low + right.band + right.gain);
    if (a == 1.0f && aStep == 0.0f && q == 0.0f && qStep == 0.0f && limit > 0.0f &&
        std::isfinite(limit) && finiteState) {
        if (gainSettled(left.gain) && gainSettled(right.gain))
            passFilterSpan<false>(ring, ringSamples, start, end, left, right);
        else
            passFilterSpan<true>(ring, ringSamples, start, end, left, right);
    } else {
        forEachStereoSample(
            start, end, left, right, [&](FilterChannel & s, int j) __attribute__((always_inline)) {
                const float x = ring[j];
                s.band = s.band * (1.0f - a) + (x - s.y) * a;
                s.low = s.low * (1.0f - a) + s.band * a;
                s.y = s.y + s.low;
                s.low = s.low * s.gain * q;
                if (x == 0.0f && ring[j + 1 < ringSamples ? j + 1 : 0] == 0.0f) {
                    s.low = 0.0f;
                    s.band = 0.0f;
                }
                s.gain += ((1.0f - std::min(1.0f, std::fabs(s.low) / limit)) - s.gain) * 0.02f;
                if (s.y > 508.0f || s.y < -508.0f) {
                    s.low *= 0.5f;
                    s.band *= 0.5f;
                }
                ring[j] = s.y;
                a += aStep;
                q += qStep;
            });
    }
    const FilterChannel* channels[2] = {&left, &right};
    for (int ch = 0; ch < 2; ++ch) {
        state.filterLow[ch] = channels[ch]->low;
        state.filterBand[ch] = channels[ch]->band;
        state.filterOutput[ch] = channels[ch]->y;
        state.filterGain[ch] = channels[ch]->gain;
    }
}

void applyKnobStages(const Song& song, EngineState& engine, StreamState& stream, int instrument,
                     int start, int end) {
    KnobAutomation& ring = stream.knobAutomation[instrument];
    auto readValues = [&ring](int entry, float* values) {
        for (int v = 0; v < 4; ++v) values[v] = ring.values[entry][kRampedKnobs[v]];
    };
    auto writeValues = [&ring](int entry, const float* values) {
        for (int v = 0; v < 4; ++v) ring.values[entry][kRampedKnobs[v]] = values[v];
    };
    auto runSpan = [&](int spanStart, int spanEnd, const float* from, const float* to,
                       bool ramping) {
        if (ramping) {
            amplitudeCutoff(engine, stream, instrument, spanStart, spanEnd, from[kRampDistort],
                            to[kRampDistort], from[kRampDrag], to[kRampDrag]);
            resonantFilter(song, engine, stream, instrument, spanStart, spanEnd, from[kRampCutoff],
                           to[kRampCutoff], from[kRampRes], to[kRampRes]);
        } else {
            // With the values settled the filter runs first.
            resonantFilter(song, engine, stream, instrument, spanStart, spanEnd, from[kRampCutoff],
                           from[kRampCutoff], from[kRampRes], from[kRampRes]);
            amplitudeCutoff(engine, stream, instrument, spanStart, spanEnd, from[kRampDistort],
                            from[kRampDistort], from[kRampDrag], from[kRampDrag]);
        }
    };
    consumeAutomation<4>(ring.valid, ring.stamp, ring.head, engine.ringSamples, start, end,
                         readValues, writeValues, runSpan);
}
