// Default values of every song field, and the pattern-stack removal rule.
#include "model/song.h"

#include <cstring>

namespace {

constexpr float kEffectKnobDefaults[kEffectKnobCount] = {
    1.0f, 0.0f, 0.4f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.25f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f,
};

constexpr float kInstrumentColours[kInstrumentCount][3] = {
    {0, 200, 200}, {250, 80, 80}, {0, 150, 250}, {250, 0, 190}};

constexpr float kDelayDefaults[kDelayValues] = {1.0f, 4.1f, 0.0f, 0.5f, 0.0f, 0.5f};

void setKnob(KnobRecord& knob, float value) {
    knob.value = value;
}

void setWaveformSlotDefaults(Song& song, int slot) {
    for (float& v : song.Sound[slot]) v = 0.0f;
    for (int k = 0; k < kWaveformKnobCount; ++k)
        setKnob(song.SoundEffect[slot][k], 0.0f); // MIX, HIGH, NOISE
    song.SoundType[slot] = 0;
    song.SoundFileParams[slot].fileReserved = 0;
    song.SoundFileLoop[slot] = {0, kWaveformSamples};
    song.SoundFileVals[slot].fileSamples.reset();
}

void setEnvelopeBankDefaults(Song& song, int bank) {
    for (int p = 0; p < kEnvelopePoints - 1; ++p) song.Envelope[bank][p] = 1.0f - p * 0.0033333334f;
    song.Envelope[bank][kEnvelopePoints - 1] = 0.0f;
    for (int p = 0; p < kEnvelopePoints; ++p) {
        song.Pitch[bank][p] = 0.5f;
        song.Cutoff[bank][p] = 0.5f;
        song.Ratio[bank][p] = 0.5f;
    }
    song.EnvelopeParams[bank] = {150, 150, 299, bank % 2};
}

void setInstrumentDefaults(Song& song, int i) {
    song.Volume[i] = 0.6f;
    song.Oct[i] = 1;
    song.Mute[i] = 0;
    song.BPMsr[i] = kStepsPerBank;
    song.EnvIdx[i] = 0;
    song.PatternIdx[i] = 0;
    song.SoundIdx[i] = 0;
    for (int c = 0; c < 3; ++c) song.BGR[i][c] = kInstrumentColours[i][c];
    song.Chorus[i].count = 1;
    for (ChordKey& key : song.Chorus[i].keys) key = {0.0f, 0.0f};
    song.Chorus[i].keys[0] = {0.0f, 1.0f};
    song.EffectDim[i] = {0, 1};
    for (auto& delay : song.DelayParams[i])
        for (int v = 0; v < kDelayValues; ++v) delay[v] = kDelayDefaults[v];
    BankStack& stack = song.PatternStack[i];
    for (int32_t& e : stack.entries) e = -1;
    stack.entries[0] = 0;
    stack.stackMode = kStackRotate;
    for (int k = 0; k < kEffectKnobCount; ++k) setKnob(song.Effect[i][k], kEffectKnobDefaults[k]);
    NoteGrid& grid = song.noteGrid[i];
    for (int s = 0; s < kGridSteps; ++s)
        for (int r = 0; r < kNoteRows; ++r) {
            grid.notePosition[s][r] = 0;
            grid.nextRow[s][r] = -1;
            grid.noteLength[s][r] = 0;
        }
    for (int s = 0; s < kGridSteps; ++s) {
        song.Pan[i][s] = 0.5f;
        song.Vel[i][s] = 1.0f;
    }
}

} // namespace

void setSongDefaults(Song& song) {
    song.BPM = 70.0f;
    song.MainVolume[0] = 0.6f;
    song.MainVolume[1] = 0.6f;
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) setWaveformSlotDefaults(song, slot);
    for (int bank = 0; bank < kEnvelopeBankCount; ++bank) setEnvelopeBankDefaults(song, bank);
    for (int i = 0; i < kInstrumentCount; ++i) setInstrumentDefaults(song, i);
}

void removeStackEntry(BankStack& stack, int position) {
    if (position < 0 || position >= kStackEntries) return;
    if (position == 0) {
        stack.entries[0] = -1;
        return;
    }
    for (int k = position; k < kStackEntries - 1; ++k) stack.entries[k] = stack.entries[k + 1];
    stack.entries[kStackEntries - 1] = -1;
}
