// Smoothing and scaling of a whole waveform slot.
#include "tools/waveform_edits.h"

#include "app/app_state.h"
#include "tools/current_selection.h"
#include "tools/playback_waveform.h"

namespace {

// Scales the sound-file samples, trusting the stored count only as far as the buffer reaches.
void scaleFileSamples(FileSamples& file, float factor) {
    if (!file.fileSamples) return;
    int count = file.fileSampleCount;
    if (count > kMaxFileSamples) count = kMaxFileSamples;
    for (int i = 0; i < count; ++i) file.fileSamples[i] *= factor;
}

} // namespace

void averageWaveform(AppState& app, int radius) {
    const int slot = currentWaveformSlot(app);
    if (slot < 0 || radius < 0) return;
    float* sound = app.song.Sound[slot];
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
    rebuildPlaybackWaveform(app, slot);
}

void scaleWaveform(AppState& app, float factor) {
    const int slot = currentWaveformSlot(app);
    if (slot < 0) return;
    if (app.song.SoundType[slot] == 1) {
        scaleFileSamples(app.song.SoundFileVals[slot], factor);
    } else {
        for (float& v : app.song.Sound[slot]) v *= factor;
    }
    rebuildPlaybackWaveform(app, slot);
}
