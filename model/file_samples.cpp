// New sound-file buffers for edits: the song's own buffers are shared and never changed.
#include <algorithm>

#include "model/song.h"

std::shared_ptr<float[]> newFileSampleBuffer() {
    return std::make_shared_for_overwrite<float[]>(kMaxFileSamples);
}

void keepFileSamplesFrom(const FileSamples& samples, float* buffer, int from) {
    from = std::clamp(from, 0, kMaxFileSamples);
    if (samples.fileSamples)
        std::copy(samples.fileSamples.get() + from, samples.fileSamples.get() + kMaxFileSamples,
                  buffer + from);
    else
        std::fill(buffer + from, buffer + kMaxFileSamples, 0.0f);
}
