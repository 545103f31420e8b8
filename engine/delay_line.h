// One recirculating delay of an instrument's DELAY/REVERB, run in place on its ring.
#pragma once

class DelayLine {
  public:
    // Back to silence on both channels.
    void reset() { channels_[0] = channels_[1] = Channel{}; }

    // Over interleaved samples start..end-1 of a ring of ringSamples samples (one ring holds
    // five steps), each of the delay's six values (model/song.h: kDelayOffset ...) ramping from
    // `from` to `to`: adds the low-passed, panned tap back into the ring. A delay whose feedback
    // is at most 0.01 at both ends does nothing.
    void process(float* ring, int ringSamples, int start, int end, const float* from,
                 const float* to);

  private:
    struct Channel {
        float low;
        float band;
    };
    Channel channels_[2] = {}; // 0 left, 1 right
};

// Ring distance of a delay tap for an offset of `offset` ring samples: truncated, made even so
// the tap stays on the same channel, and taken modulo ringSamples (NaN and huge offsets too).
int delayTapDistance(float offset, int ringSamples);
