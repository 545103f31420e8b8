// The Edit menu's copy and paste between the song and the four clipboards.
#include "tools/clipboard_edits.h"

#include <cstring>

#include "app/app_state.h"
#include "tools/current_selection.h"
#include "tools/playback_waveform.h"

namespace {

// First step of the current instrument's bank in view, or -1 when the bank would leave the grid.
int viewedBankStart(const AppState& app) {
    const int firstStep = app.drag.viewOffset[app.ui.currentInstrument];
    return firstStep >= 0 && firstStep <= kGridSteps - kStepsPerBank ? firstStep : -1;
}

} // namespace

void copyPattern(AppState& app) {
    const int firstStep = viewedBankStart(app);
    if (firstStep < 0) return;
    const int instrument = app.ui.currentInstrument;
    const NoteGrid& grid = app.song.noteGrid[instrument];
    PatternClipboard& clip = app.clipboards.patternClipboard;
    for (int s = 0; s < kStepsPerBank; ++s) {
        const int step = firstStep + s;
        for (int r = 0; r < kNoteRows; ++r) {
            clip.cells[s][r][0] = grid.notePosition[step][r];
            clip.cells[s][r][1] = grid.nextRow[step][r];
            clip.cells[s][r][2] = grid.noteLength[step][r];
        }
        clip.panVel[s][0] = app.song.Pan[instrument][step];
        clip.panVel[s][1] = app.song.Vel[instrument][step];
    }
}

void pastePattern(AppState& app) {
    const int firstStep = viewedBankStart(app);
    if (firstStep < 0) return;
    const int instrument = app.ui.currentInstrument;
    NoteGrid& grid = app.song.noteGrid[instrument];
    const PatternClipboard& clip = app.clipboards.patternClipboard;
    for (int s = 0; s < kStepsPerBank; ++s) {
        const int step = firstStep + s;
        for (int r = 0; r < kNoteRows; ++r) {
            grid.notePosition[step][r] = clip.cells[s][r][0];
            grid.nextRow[step][r] = clip.cells[s][r][1];
            grid.noteLength[step][r] = clip.cells[s][r][2];
        }
        app.song.Pan[instrument][step] = clip.panVel[s][0];
        app.song.Vel[instrument][step] = clip.panVel[s][1];
    }
}

void copyEnvelope(AppState& app) {
    const float* curve = shownEnvelopeCurve(app);
    if (!curve) return;
    std::memcpy(app.clipboards.envelopeClipboard, curve, sizeof app.clipboards.envelopeClipboard);
}

void pasteEnvelope(AppState& app) {
    float* curve = shownEnvelopeCurve(app);
    if (!curve) return;
    std::memcpy(curve, app.clipboards.envelopeClipboard, sizeof app.clipboards.envelopeClipboard);
    // Point 300 is what the engine reads past the last point: keep the amplitude ending in
    // silence and the pitch holding its last value.
    const int bank = currentEnvelopeBank(app);
    const int guard = kEnvelopePoints - 1;
    app.song.Envelope[bank][guard] = 0.0f;
    app.song.Pitch[bank][guard] = app.song.Pitch[bank][guard - 1];
}

void copyWaveform(AppState& app) {
    const int slot = currentWaveformSlot(app);
    if (slot < 0) return;
    std::memcpy(app.clipboards.waveformClipboard, app.song.Sound[slot],
                sizeof app.clipboards.waveformClipboard);
}

void pasteWaveform(AppState& app) {
    const int slot = currentWaveformSlot(app);
    if (slot < 0) return;
    std::memcpy(app.song.Sound[slot], app.clipboards.waveformClipboard,
                sizeof app.clipboards.waveformClipboard);
    rebuildPlaybackWaveform(app, slot);
}

void copyEffects(AppState& app) {
    const KnobRecord* knobs = app.song.Effect[app.ui.currentInstrument];
    for (int k = 0; k < kEffectKnobCount; ++k) app.clipboards.effectsClipboard[k] = knobs[k].value;
}

void pasteEffects(AppState& app) {
    KnobRecord* knobs = app.song.Effect[app.ui.currentInstrument];
    for (int k = 0; k < kEffectKnobCount; ++k) knobs[k].value = app.clipboards.effectsClipboard[k];
}
