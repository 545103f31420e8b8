// A loop over interleaved stereo samples that keeps each channel's state in registers.
#pragma once

// A value that moves linearly from `from` to `to` over a span of samples.
struct Ramp {
    float from;
    float to;
};

// Runs `sample(channelState, index)` over interleaved samples start..end-1, a left and right
// pair at a time, so that each channel's state can stay in registers (the effect units share
// it; their sample lambdas are marked always_inline so that the state really does).
template <class Channel, class Sample>
void forEachStereoSample(int start, int end, Channel& left, Channel& right, Sample sample) {
    int j = start;
    if (j < end && (j & 1)) sample(right, j++);
    for (; j + 1 < end; j += 2) {
        sample(left, j);
        sample(right, j + 1);
    }
    if (j < end) sample(left, j);
}
