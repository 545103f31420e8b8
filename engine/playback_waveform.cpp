// MIX, HIGH and NOISE: the three waveform knobs applied, in that order, to a slot's drawing.
#include "engine/playback_waveform.h"

#include "model/random.h"

namespace {

constexpr float kRandomScale = 3.0518509e-05f; // 1/32767

// Cross-fade with the next slot's drawing (slot 7 fades into slot 0), whatever either plays.
void applyMix(const Song& song, int slot, float* out) {
    const double m = song.SoundEffect[slot][kKnobMix].value;
    const float* own = song.Sound[slot];
    const float* next = song.Sound[(slot + 1) % kWaveformSlotCount];
    for (int i = 0; i < kWaveformSamples; ++i) out[i] = (1.0 - m) * own[i] + m * next[i];
}

// Sums harmonics: harmonic k reads the waveform k times as fast with weight 1/k. HIGH h sums
// harmonics 1..N of x = 50h + 1 in full and harmonic N + 1 at the fraction f = x - N, so the
// knob moves smoothly from one harmonic count to the next.
void applyHigh(const Song& song, int slot, float* wave) {
    double h = song.SoundEffect[slot][kKnobHigh].value;
    // A damaged song file may hold any value here: keep the harmonic count within 1..51.
    if (!(h >= 0.0)) h = 0.0;
    if (h > 1.0) h = 1.0;
    const double x = h * 50.0 + 1.0;
    const int fullHarmonics = static_cast<int>(x);
    const double fraction = x - fullHarmonics;
    float sum[kWaveformSamples] = {};
    for (int k = 1; k <= fullHarmonics + 1; ++k) {
        double weight = static_cast<float>(1.0 / k);
        if (k == fullHarmonics + 1) weight *= fraction;
        for (int j = 0; j < kWaveformSamples; ++j)
            sum[j] = sum[j] + wave[(j * k) % kWaveformSamples] * weight;
    }
    for (int j = 0; j < kWaveformSamples; ++j) wave[j] = sum[j];
}

// Fresh noise at every rebuild, up to +-100 n. Sound-file slots get theirs while playing.
void applyNoise(const Song& song, int slot, float* wave) {
    const double n = song.SoundEffect[slot][kKnobNoise].value;
    if (n == 0.0 || song.SoundType[slot] != 0) return;
    for (int i = 0; i < kWaveformSamples; ++i)
        wave[i] = wave[i] + (nextRandom() * static_cast<double>(kRandomScale) - 0.5) * n * 200.0;
}

} // namespace

void rebuildPlaybackWaveform(const Song& song, int slot, PlaybackWaveforms& waveforms) {
    if (slot < 0 || slot >= kWaveformSlotCount) return;
    float* wave = waveforms.wave[slot];
    applyMix(song, slot, wave);
    applyHigh(song, slot, wave);
    applyNoise(song, slot, wave);
    wave[kWaveformSamples] = wave[0];
}

void markWaveformUsers(const Song& song, int slot, PlaybackWaveforms& waveforms) {
    for (int i = 0; i < kInstrumentCount; ++i)
        if (song.SoundIdx[i] == slot) rebuildPlaybackWaveform(song, slot, waveforms);
}
