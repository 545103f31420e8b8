// The resonant low-pass of an instrument (CUTOFF, RES, RESOVER), run in place on its ring.
#include "engine/resonant_filter.h"

#include <algorithm>
#include <cmath>

namespace {

// Filter coefficient of a CUTOFF value: c^2 * 0.98 + 0.02, kept within 0.005..1.
float filterCoefficient(float cutoff) {
    return std::clamp(cutoff * cutoff * 0.98f + 0.02f, 0.005f, 1.0f);
}

using FilterChannel = ResonantFilter::Channel;

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

void ResonantFilter::process(float* ring, int ringSamples, int start, int end, Ramp cutoff,
                             Ramp res, float resOver) {
    const int count = end - start;
    if (count <= 0) return;
    float a = filterCoefficient(cutoff.from);
    const float aStep = (filterCoefficient(cutoff.to) - a) / static_cast<float>(count);
    float q = 1.2f * res.from;
    const float qStep = (1.2f * res.to - q) / static_cast<float>(count);
    const float limit = 40.0f * resOver + 2.0f;
    FilterChannel left = channels_[0];
    FilterChannel right = channels_[1];
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
    channels_[0] = left;
    channels_[1] = right;
}
