// One recirculating delay of an instrument's DELAY/REVERB, run in place on its ring.
#include "engine/delay_line.h"

#include "base/safe_convert.h"
#include "engine/stereo_samples.h"
#include "model/song.h"

#include <algorithm>

int delayTapDistance(float offset, int ringSamples) {
    int distance = truncToInt(offset);
    if (distance & 1) distance -= 1; // INT_MAX is odd, INT_MIN even: no overflow
    if (distance >= 0 && distance < ringSamples) return distance;
    distance %= ringSamples; // ringSamples is even: the parity stays
    return distance < 0 ? distance + ringSamples : distance;
}

void DelayLine::process(float* ring, int ringSamples, int start, int end, const float* from,
                        const float* to) {
    const int count = end - start;
    if (count <= 0 || ringSamples <= 0) return;
    const float* a = from;
    const float* b = to;
    if (a[kDelayFeedback] <= 0.01f && b[kDelayFeedback] <= 0.01f) return;
    const float stepLength = static_cast<float>(ringSamples) * 0.2f; // one step in samples
    const float perSample = 1.0f / static_cast<float>(count);
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

    Channel left = channels_[0];
    Channel right = channels_[1];
    const bool fixedTap = offsetStep == 0.0f;
    const int fixedDistance = delayTapDistance(offset, ringSamples);
    forEachStereoSample(
        start, end, left, right, [&](Channel & s, int j) __attribute__((always_inline)) {
            const int distance = fixedTap ? fixedDistance : delayTapDistance(offset, ringSamples);
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
    channels_[0] = left;
    channels_[1] = right;
}
