// The Edit menu's copy and paste between the song and the four clipboards.
#include "tools/clipboard_edits.h"

#include <cstring>

#include "tools/current_selection.h"

namespace {

// Whether the bank of the instrument starting at firstStep lies wholly inside the grid.
bool validBank(int instrument, int firstStep) {
    return validInstrument(instrument) && firstStep >= 0 && firstStep <= kGridSteps - kStepsPerBank;
}

bool validSlot(int slot) {
    return slot >= 0 && slot < kWaveformSlotCount;
}

} // namespace

void copyPattern(const Song& song, Clipboards& clipboards, int instrument, int firstStep) {
    if (!validBank(instrument, firstStep)) return;
    const NoteGrid& grid = song.noteGrid[instrument];
    PatternClipboard& clip = clipboards.patternClipboard;
    for (int s = 0; s < kStepsPerBank; ++s) {
        const int step = firstStep + s;
        for (int r = 0; r < kNoteRows; ++r) {
            clip.cells[s][r][0] = grid.notePosition[step][r];
            clip.cells[s][r][1] = grid.nextRow[step][r];
            clip.cells[s][r][2] = grid.noteLength[step][r];
        }
        clip.panVel[s][0] = song.Pan[instrument][step];
        clip.panVel[s][1] = song.Vel[instrument][step];
    }
}

void pastePattern(Song& song, const Clipboards& clipboards, int instrument, int firstStep) {
    if (!validBank(instrument, firstStep)) return;
    NoteGrid& grid = song.noteGrid[instrument];
    const PatternClipboard& clip = clipboards.patternClipboard;
    for (int s = 0; s < kStepsPerBank; ++s) {
        const int step = firstStep + s;
        for (int r = 0; r < kNoteRows; ++r) {
            grid.notePosition[step][r] = clip.cells[s][r][0];
            grid.nextRow[step][r] = clip.cells[s][r][1];
            grid.noteLength[step][r] = clip.cells[s][r][2];
        }
        song.Pan[instrument][step] = clip.panVel[s][0];
        song.Vel[instrument][step] = clip.panVel[s][1];
    }
}

void copyEnvelope(const Song& song, Clipboards& clipboards, int bank, int curve) {
    const float* points = envelopeCurveOf(song, bank, curve);
    if (!points) return;
    std::memcpy(clipboards.envelopeClipboard, points, sizeof clipboards.envelopeClipboard);
}

void pasteEnvelope(Song& song, const Clipboards& clipboards, int bank, int curve) {
    float* points = envelopeCurveOf(song, bank, curve);
    if (!points) return;
    std::memcpy(points, clipboards.envelopeClipboard, sizeof clipboards.envelopeClipboard);
    // Point 300 is what the engine reads past the last point: keep the amplitude ending in
    // silence and the pitch holding its last value.
    const int guard = kEnvelopePoints - 1;
    song.Envelope[bank][guard] = 0.0f;
    song.Pitch[bank][guard] = song.Pitch[bank][guard - 1];
}

void copyWaveform(const Song& song, Clipboards& clipboards, int slot) {
    if (!validSlot(slot)) return;
    std::memcpy(clipboards.waveformClipboard, song.Sound[slot],
                sizeof clipboards.waveformClipboard);
}

void pasteWaveform(Song& song, const Clipboards& clipboards, int slot) {
    if (!validSlot(slot)) return;
    std::memcpy(song.Sound[slot], clipboards.waveformClipboard,
                sizeof clipboards.waveformClipboard);
}

void copyEffects(const Song& song, Clipboards& clipboards, int instrument) {
    if (!validInstrument(instrument)) return;
    const KnobRecord* knobs = song.Effect[instrument];
    for (int k = 0; k < kEffectKnobCount; ++k) clipboards.effectsClipboard[k] = knobs[k].value;
}

void pasteEffects(Song& song, const Clipboards& clipboards, int instrument) {
    if (!validInstrument(instrument)) return;
    KnobRecord* knobs = song.Effect[instrument];
    for (int k = 0; k < kEffectKnobCount; ++k) knobs[k].value = clipboards.effectsClipboard[k];
}
