// Smoothing and scaling of a whole waveform slot.
#include "tools/waveform_edits.h"

namespace {

bool validSlot(int slot) {
    return slot >= 0 && slot < kWaveformSlotCount;
}

// Scales the sound-file samples into a new buffer, trusting the stored count only as far as the
// buffer reaches.
void scaleFileSamples(FileSamples& file, float factor) {
    if (!file.fileSamples) return;
    int count = file.fileSampleCount;
    if (count > kMaxFileSamples) count = kMaxFileSamples;
    std::shared_ptr<float[]> scaled = newFileSampleBuffer();
    keepFileSamplesFrom(file, scaled.get(), 0);
    for (int i = 0; i < count; ++i) scaled[i] *= factor;
    file.fileSamples = std::move(scaled);
}

} // namespace

void averageWaveform(Song& song, int slot, int radius) {
    if (!validSlot(slot) || radius < 0) return;
    float* sound = song.Sound[slot];
    float means[kWaveformSamples];
    for (int i = 0; i < kWaveformSamples; ++i) {
        double sum = 0.0;
        for (int d = -radius; d <= radius; ++d) {
            const int k = ((i + d) % kWaveformSamples + kWaveformSamples) % kWaveformSamples;
            sum += sound[k];
        }
        means[i] = static_cast<float>(sum / (2 * radius + 1));
    }
    for (int i = 0; i < kWaveformSamples; ++i) sound[i] = means[i];
}

void scaleWaveform(Song& song, int slot, float factor) {
    if (!validSlot(slot)) return;
    if (song.SoundType[slot] == 1) {
        scaleFileSamples(song.SoundFileVals[slot], factor);
    } else {
        for (float& v : song.Sound[slot]) v *= factor;
    }
}
