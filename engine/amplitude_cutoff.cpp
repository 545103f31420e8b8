// The amplitude cutoff of an instrument (DISTORT, DSTDRAG): a dead zone around silence.
#include "engine/amplitude_cutoff.h"

#include <cmath>

namespace {

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

} // namespace

void AmplitudeCutoff::process(float* ring, int start, int end, Ramp distortRamp, Ramp drag) {
    const int count = end - start;
    if (count <= 0) return;
    const float d0 = distortRamp.from;
    const float d1 = distortRamp.to;
    float rate = followerRate(drag.from);
    const float rateStep = (followerRate(drag.to) - rate) / static_cast<float>(count);
    // DISTORT 0 and DSTDRAG 0 throughout: nothing is silenced and the follower stands still.
    if (d0 == 0.0f && d1 == 0.0f && rate == 0.0f && rateStep == 0.0f) return;
    float distort = d0;
    const float distortStep = (d1 - d0) / static_cast<float>(count);
    FollowerChannel left{follower_[0]};
    FollowerChannel right{follower_[1]};
    forEachStereoSample(
        start, end, left, right, [&](FollowerChannel & s, int j) __attribute__((always_inline)) {
            const float x = ring[j];
            s.follower += rate * (std::fabs(x) - s.follower);
            const float threshold = (127.0f * distort - 2.0f * s.follower) * distort;
            if ((0.0f < x && x < threshold) || (-threshold < x && x < 0.0f)) ring[j] = 0.0f;
            rate += rateStep;
            distort += distortStep;
        });
    follower_[0] = left.follower;
    follower_[1] = right.follower;
}
