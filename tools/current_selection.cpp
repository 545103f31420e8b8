// Resolves an instrument's waveform slot and envelope bank and a bank's curve, rejecting bad
// indices.
#include "tools/current_selection.h"

bool validInstrument(int instrument) {
    return instrument >= 0 && instrument < kInstrumentCount;
}

int waveformSlotOf(const Song& song, int instrument) {
    if (!validInstrument(instrument)) return -1;
    const int slot = song.SoundIdx[instrument];
    return slot >= 0 && slot < kWaveformSlotCount ? slot : -1;
}

int envelopeBankOf(const Song& song, int instrument) {
    if (!validInstrument(instrument)) return -1;
    const int bank = song.EnvIdx[instrument];
    return bank >= 0 && bank < kEnvelopeBankCount ? bank : -1;
}

const float* envelopeCurveOf(const Song& song, int bank, int curve) {
    if (bank < 0 || bank >= kEnvelopeBankCount) return nullptr;
    switch (curve) {
    case kCurveAmplitude:
        return song.Envelope[bank];
    case kCurvePitch:
        return song.Pitch[bank];
    case kCurveCutoff:
        return song.Cutoff[bank];
    case kCurveRatio:
        return song.Ratio[bank];
    default:
        return nullptr;
    }
}

float* envelopeCurveOf(Song& song, int bank, int curve) {
    return const_cast<float*>(envelopeCurveOf(static_cast<const Song&>(song), bank, curve));
}
