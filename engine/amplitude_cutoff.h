// The amplitude cutoff of an instrument (DISTORT, DSTDRAG): a dead zone around silence.
#pragma once

#include "engine/stereo_samples.h"

class AmplitudeCutoff {
  public:
    // Back to a quiet follower on both channels.
    void reset() { follower_[0] = follower_[1] = 0.0f; }

    // Over interleaved ring samples start..end-1, with DISTORT d and DSTDRAG r ramping over the
    // span: a sample whose magnitude lies under (127 d - 2 follower) d is silenced; the follower
    // tracks the level at a rate of (DSTDRAG / 2)^8.
    void process(float* ring, int start, int end, Ramp distort, Ramp drag);

    // The level follower of channel 0 (left) or 1 (right).
    float follower(int channel) const { return follower_[channel & 1]; }

  private:
    float follower_[2] = {};
};
