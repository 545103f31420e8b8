// The knob name table.
#include "ui/knob_labels.h"

#include "model/song.h"

namespace {

constexpr KnobLabel kNoName = {"", ""};

constexpr KnobLabel kEffectKnobLabels[kEffectKnobCount] = {
    {"CUTOFF", "CUTOFF FREQUENCY"},
    {"RES", "RESONANCE"},
    {"RESOVER", "RESONANCE OVERDRIVE"},
    {"DISTORT", "AMPLITUDE CUTOFF"},
    {"DSTDRAG", "DISTORTION DRAG"},
    {"RDMFREQ", "RANDOM FREQUENCY"},
    {"RDMPCH", "RANDOM PITCH"},
    {"CHORUS", "CHORUS"},
    {"RDMATK", "RANDOM ATTACK"},
    {"SFTATK", "SHIFT ATTACK"},
    {"SLIDE", "SLIDE"},
    {"PITCH", "PITCH"},
    kNoName,
    kNoName,
    kNoName,
    kNoName,
};

constexpr KnobLabel kWaveformKnobLabels[kWaveformKnobCount] = {
    {"MIX", "WAVEFORM MIX"},
    {"HIGH", "WAVEFORM HARMONY"},
    {"NOISE", "WAVEFORM NOISE"},
};

} // namespace

KnobLabel effectKnobLabel(int knob) {
    return knob >= 0 && knob < kEffectKnobCount ? kEffectKnobLabels[knob] : kNoName;
}

KnobLabel waveformKnobLabel(int knob) {
    return knob >= 0 && knob < kWaveformKnobCount ? kWaveformKnobLabels[knob] : kNoName;
}
