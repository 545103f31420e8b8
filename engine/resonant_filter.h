// The resonant low-pass of an instrument (CUTOFF, RES, RESOVER), run in place on its ring.
#pragma once

#include "engine/stereo_samples.h"

class ResonantFilter {
  public:
    // State of one channel; all 0 at the start of playback.
    struct Channel {
        float low;
        float band;
        float y;    // the filtered sample
        float gain; // g, falls when the ringing exceeds RESOVER's limit
    };

    // Back to silence: every channel's state 0.
    void reset() { channels_[0] = channels_[1] = Channel{}; }

    // Filters interleaved samples start..end-1 of a ring of ringSamples samples (even index
    // left): CUTOFF and RES ramp over the span; the gain that tames the ringing is limited by
    // RESOVER (resOver). A sample and its successor in the ring both 0 clear the channel's state.
    void process(float* ring, int ringSamples, int start, int end, Ramp cutoff, Ramp res,
                 float resOver);

    // Channel 0 left, 1 right.
    const Channel& channel(int index) const { return channels_[index & 1]; }

  private:
    Channel channels_[2] = {};
};
