// Copy and paste of patterns, envelope curves, waveforms and effect settings.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/tool_test_app.h"
#include "tools/clipboard_edits.h"
#include "tools/current_selection.h"

namespace {

// A three-step note on rows 4, 6, 6 starting at `step`.
void drawNote(NoteGrid& grid, int step) {
    const int rows[3] = {4, 6, 6};
    for (int k = 0; k < 3; ++k) {
        grid.notePosition[step + k][rows[k]] = k + 1;
        grid.noteLength[step + k][rows[k]] = 3;
        grid.nextRow[step + k][rows[k]] = k < 2 ? rows[k + 1] : -1;
    }
}

TEST(PatternClipboard, NoteCrossingTheBankEndIsCopiedInPart) {
    auto app = newSongApp();
    NoteGrid& source = app->song.noteGrid[0];
    drawNote(source, 30); // steps 30, 31 in bank 1, step 32 in bank 2
    app->song.Pan[0][17] = 0.1f;
    app->song.Vel[0][31] = 0.3f;
    app->drag.viewOffset[0] = 16;
    copyPattern(app->song, app->clipboards, app->ui.currentInstrument,
                app->drag.viewOffset[app->ui.currentInstrument]);

    app->ui.currentInstrument = 2;
    app->drag.viewOffset[2] = 48;
    app->song.noteGrid[2].notePosition[50][0] = 1; // replaced by the empty cell of the copy
    pastePattern(app->song, app->clipboards, app->ui.currentInstrument,
                 app->drag.viewOffset[app->ui.currentInstrument]);
    const NoteGrid& target = app->song.noteGrid[2];
    EXPECT_EQ(target.notePosition[62][4], 1);
    EXPECT_EQ(target.nextRow[62][4], 6);
    EXPECT_EQ(target.notePosition[63][6], 2);
    EXPECT_EQ(target.noteLength[63][6], 3);
    EXPECT_EQ(target.nextRow[63][6], 6); // names a next row in a step that holds nothing
    EXPECT_EQ(target.notePosition[64][6], 0);
    EXPECT_EQ(target.notePosition[50][0], 0);
    EXPECT_EQ(target.nextRow[50][0], -1);
    EXPECT_EQ(app->song.Pan[2][49], 0.1f);
    EXPECT_EQ(app->song.Vel[2][63], 0.3f);
    EXPECT_EQ(app->song.Vel[2][64], 1.0f);
    // The source is unchanged.
    EXPECT_EQ(source.notePosition[32][6], 3);
}

TEST(PatternClipboard, ViewOutsideTheGridIsNeitherCopiedNorPasted) {
    auto app = newSongApp();
    app->drag.viewOffset[0] = 250;
    pastePattern(
        app->song, app->clipboards, app->ui.currentInstrument,
        app->drag.viewOffset[app->ui.currentInstrument]); // would write zeros into steps 250..265
    EXPECT_EQ(app->song.Vel[0][250], 1.0f);
    app->drag.viewOffset[0] = -16;
    copyPattern(app->song, app->clipboards, app->ui.currentInstrument,
                app->drag.viewOffset[app->ui.currentInstrument]);
    pastePattern(app->song, app->clipboards, app->ui.currentInstrument,
                 app->drag.viewOffset[app->ui.currentInstrument]);
    app->drag.viewOffset[0] = 240; // the last whole bank is fine
    pastePattern(app->song, app->clipboards, app->ui.currentInstrument,
                 app->drag.viewOffset[app->ui.currentInstrument]);
    EXPECT_EQ(app->song.Vel[0][255], 0.0f);
}

TEST(EnvelopeClipboard, PitchPastedOverCutoffAndTheGuardPoints) {
    auto app = newSongApp();
    app->ui.currentInstrument = 1;
    app->song.EnvIdx[1] = 3;
    float* pitch = app->song.Pitch[3];
    for (int p = 0; p < kEnvelopePoints; ++p) pitch[p] = p * 0.001f;
    pitch[300] = 0.9f;
    app->ui.envelopeCurve = kCurvePitch;
    copyEnvelope(app->song, app->clipboards, envelopeBankOf(app->song, app->ui.currentInstrument),
                 app->ui.envelopeCurve);

    app->song.EnvIdx[1] = 6;
    app->song.Envelope[6][300] = 0.8f;
    app->song.Pitch[6][299] = 0.35f;
    app->ui.envelopeCurve = kCurveCutoff;
    pasteEnvelope(app->song, app->clipboards, envelopeBankOf(app->song, app->ui.currentInstrument),
                  app->ui.envelopeCurve);
    for (int p = 0; p < 300; ++p) ASSERT_EQ(app->song.Cutoff[6][p], p * 0.001f);
    EXPECT_EQ(app->song.Cutoff[6][300], 0.9f);   // copied with the curve
    EXPECT_EQ(app->song.Envelope[6][300], 0.0f); // whatever curve was pasted
    EXPECT_EQ(app->song.Pitch[6][300], 0.35f);
    EXPECT_EQ(app->song.Ratio[6][300], 0.5f);

    // Pasting into Pitch itself: the guard follows the pasted point 299, not the copied 300.
    app->ui.envelopeCurve = kCurvePitch;
    pasteEnvelope(app->song, app->clipboards, envelopeBankOf(app->song, app->ui.currentInstrument),
                  app->ui.envelopeCurve);
    EXPECT_EQ(app->song.Pitch[6][300], 299 * 0.001f);
}

TEST(WaveformClipboard, PasteKeepsASoundFilePlaying) {
    auto app = newSongApp();
    app->song.SoundIdx[0] = 3;
    copyWaveform(app->song, app->clipboards, waveformSlotOf(app->song, app->ui.currentInstrument));
    app->song.SoundIdx[0] = 5;
    app->song.SoundType[5] = 1;
    app->song.SoundEffect[5][kKnobMix].value = 0.5f;
    pasteWaveform(app->song, app->clipboards, waveformSlotOf(app->song, app->ui.currentInstrument));
    EXPECT_EQ(app->song.Sound[5][100], 50.0f);
    EXPECT_EQ(app->song.SoundType[5], 1);
    EXPECT_EQ(app->song.SoundEffect[5][kKnobMix].value, 0.5f) << "the knobs are not pasted";
}

TEST(EffectsClipboard, ValuesOnly) {
    auto app = newSongApp();
    app->song.Effect[0][13].value = 0.7f;
    copyEffects(app->song, app->clipboards, app->ui.currentInstrument);
    app->ui.currentInstrument = 3;
    app->song.EffectDim[3] = {4, 5};
    pasteEffects(app->song, app->clipboards, app->ui.currentInstrument);
    EXPECT_EQ(app->song.Effect[3][13].value, 0.7f);
    EXPECT_EQ(app->song.Effect[3][0].value, 1.0f);
    EXPECT_EQ(app->song.Effect[3][2].value, 0.4f);
    EXPECT_EQ(app->song.EffectDim[3].xKnob, 4);
}

TEST(Clipboards, PasteAfterNewWritesZeros) {
    auto app = std::make_unique<AppState>();
    app->clipboards.envelopeClipboard[5] = 0.5f; // whatever an earlier song left
    app->clipboards.patternClipboard.cells[2][3][1] = 7;
    resetSong(app->song, app->clipboards, app->ui.currentInstrument);
    app->ui.currentInstrument = 1;
    app->drag.viewOffset[1] = 32;
    app->ui.envelopeCurve = kCurveRatio;
    pastePattern(app->song, app->clipboards, app->ui.currentInstrument,
                 app->drag.viewOffset[app->ui.currentInstrument]);
    pasteEnvelope(app->song, app->clipboards, envelopeBankOf(app->song, app->ui.currentInstrument),
                  app->ui.envelopeCurve);
    pasteWaveform(app->song, app->clipboards, waveformSlotOf(app->song, app->ui.currentInstrument));
    pasteEffects(app->song, app->clipboards, app->ui.currentInstrument);
    for (int step = 32; step < 48; ++step) {
        for (int row = 0; row < kNoteRows; ++row) {
            ASSERT_EQ(app->song.noteGrid[1].notePosition[step][row], 0);
            ASSERT_EQ(app->song.noteGrid[1].nextRow[step][row], 0);
            ASSERT_EQ(app->song.noteGrid[1].noteLength[step][row], 0);
        }
        EXPECT_EQ(app->song.Pan[1][step], 0.0f);
        EXPECT_EQ(app->song.Vel[1][step], 0.0f);
    }
    EXPECT_EQ(app->song.Vel[1][48], 1.0f);
    for (int p = 0; p < kEnvelopePoints; ++p) ASSERT_EQ(app->song.Ratio[0][p], 0.0f);
    for (int i = 0; i < kWaveformSamples; ++i) ASSERT_EQ(app->song.Sound[0][i], 0.0f);
    for (const KnobRecord& knob : app->song.Effect[1]) EXPECT_EQ(knob.value, 0.0f);
}

TEST(Clipboards, DamagedIndicesCopyAndPasteNothing) {
    auto app = newSongApp();
    app->song.SoundIdx[0] = 12;
    app->song.EnvIdx[0] = -2;
    copyWaveform(app->song, app->clipboards, waveformSlotOf(app->song, app->ui.currentInstrument));
    pasteWaveform(app->song, app->clipboards, waveformSlotOf(app->song, app->ui.currentInstrument));
    copyEnvelope(app->song, app->clipboards, envelopeBankOf(app->song, app->ui.currentInstrument),
                 app->ui.envelopeCurve);
    pasteEnvelope(app->song, app->clipboards, envelopeBankOf(app->song, app->ui.currentInstrument),
                  app->ui.envelopeCurve);
    for (float v : app->clipboards.waveformClipboard) ASSERT_EQ(v, 0.0f);
    for (float v : app->clipboards.envelopeClipboard) ASSERT_EQ(v, 0.0f);
}

} // namespace
