// Sine, sine plus octave, sawtooth and square presets of 350 samples.
#include "tools/waveform_presets.h"

#include <cmath>

namespace {

// The presets' constants are single precision; the arithmetic on them is double.
constexpr float kInverseLength = 0.0028571428f; // 1/350
constexpr float kTwoCyclePhase = 12.5664f;      // about 4 pi
constexpr float kOneCyclePhase = 6.28f;         // about 2 pi

// Position of sample i across the waveform, 0..1.
double position(int i) {
    return i * static_cast<double>(kInverseLength);
}

bool validSlot(int slot) {
    return slot >= 0 && slot < kWaveformSlotCount;
}

template <typename Shape> void generate(Song& song, int slot, Shape shape) {
    if (!validSlot(slot)) return;
    float* sound = song.Sound[slot];
    for (int i = 0; i < kWaveformSamples; ++i) sound[i] = static_cast<float>(shape(i));
}

} // namespace

void generateSine(Song& song, int slot) {
    generate(song, slot,
             [](int i) { return 50.0 * std::sin((position(i) - 0.5) * kTwoCyclePhase); });
}

void generateSineOctave(Song& song, int slot) {
    generate(song, slot, [](int i) {
        const double a = (position(i) - 0.5) * kOneCyclePhase;
        return 25.0 * (std::sin(2.0 * a) + std::sin(a));
    });
}

void generateSaw(Song& song, int slot) {
    generate(song, slot,
             [](int i) { return (position((2 * i) % kWaveformSamples) - 0.5) * 100.0; });
}

void generateSquare(Song& song, int slot) {
    generate(song, slot, [](int i) {
        const double x = position(i);
        const bool high = (x >= 0.25 && x < 0.5) || x >= 0.75;
        return high ? 50.0 : -50.0;
    });
}

void resetWaveform(Song& song, int slot, int& cycle) {
    switch (cycle) {
    case 1:
        generateSineOctave(song, slot);
        break;
    case 2:
        generateSaw(song, slot);
        break;
    case 3:
        generateSquare(song, slot);
        break;
    default:
        generateSine(song, slot);
        break;
    }
    cycle = (cycle + 1) % 4;
}
