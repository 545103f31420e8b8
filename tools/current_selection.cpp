// Resolves the current instrument's waveform slot and envelope curve, rejecting bad indices.
#include "tools/current_selection.h"

#include "app/app_state.h"

namespace {

bool validInstrument(int instrument) {
    return instrument >= 0 && instrument < kInstrumentCount;
}

} // namespace

bool currentInstrumentValid(const AppState& app) {
    return validInstrument(app.ui.currentInstrument);
}

int currentWaveformSlot(const AppState& app) {
    const int instrument = app.ui.currentInstrument;
    if (!validInstrument(instrument)) return -1;
    const int slot = app.song.SoundIdx[instrument];
    return slot >= 0 && slot < kWaveformSlotCount ? slot : -1;
}

int currentEnvelopeBank(const AppState& app) {
    const int instrument = app.ui.currentInstrument;
    if (!validInstrument(instrument)) return -1;
    const int bank = app.song.EnvIdx[instrument];
    return bank >= 0 && bank < kEnvelopeBankCount ? bank : -1;
}

float* shownEnvelopeCurve(AppState& app) {
    const int bank = currentEnvelopeBank(app);
    if (bank < 0) return nullptr;
    switch (app.ui.envelopeCurve) {
    case kCurveAmplitude:
        return app.song.Envelope[bank];
    case kCurvePitch:
        return app.song.Pitch[bank];
    case kCurveCutoff:
        return app.song.Cutoff[bank];
    case kCurveRatio:
        return app.song.Ratio[bank];
    default:
        return nullptr;
    }
}
