// Note pad and pan/velocity panels: note cells, the envelope preview, the note being drawn,
// dimming past the bank length, the bars, and damaged song values.
#include <cmath>
#include <vector>

#include "screen_test_support.h"
#include "ui/drawing.h"
#include "ui/note_pad_panels.h"
#include "ui/panel_renderers.h"

namespace {

class NotePadPanels : public ScreenTest {
  protected:
    PanelCanvas& pad() { return panelCanvas(*screen, PanelId::NotePad); }
    PanelCanvas& bars() { return panelCanvas(*screen, PanelId::PanAndVelocity); }

    // A note of one cell, or the cells of a slide, written as the editor writes them.
    void putNote(int instrument, int step, const std::vector<int>& rows) {
        NoteGrid& grid = app->song.noteGrid[instrument];
        const int n = static_cast<int>(rows.size());
        for (int k = 0; k < n; ++k) {
            grid.notePosition[step + k][rows[k]] = k + 1;
            grid.noteLength[step + k][rows[k]] = n;
            grid.nextRow[step + k][rows[k]] = k + 1 < n ? rows[k + 1] : -1;
        }
    }

    // The note's colour times the preview level at a body column.
    Rgb bodyColour(int col, int step, int position, int length) {
        const float level = notePreviewLevel(app->song, app->ui.envelopeCurve, 0,
                                             col - (25 * step + 5), position, length);
        const float* bgr = app->song.BGR[0];
        return {static_cast<int>(bgr[2] * level), static_cast<int>(bgr[1] * level),
                static_cast<int>(bgr[0] * level)};
    }
};

TEST_F(NotePadPanels, OneStepNoteHasBodyFlatRampAndBothCaps) {
    app->song.Effect[0][kKnobSlide].value = 0.25f; // slide length 18
    putNote(0, 0, {0});
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    const int top = 8 * 23; // note row 0 is the bottom display row
    const Rgb bright{250, 250, 0};
    const Rgb dark{140, 140, 0};
    // Column 4 and 5 are the first-step caps; the body runs on to column 21, the flat ramp
    // from 22 to 28 at the same rows, whose last two columns carry the end cap.
    EXPECT_EQ(rgbAt(pad(), top + 8, 4), bright);
    EXPECT_EQ(rgbAt(pad(), top + 8, 5), bright);
    for (int col = 6; col <= 26; ++col)
        for (int row = top + 7; row <= top + 9; ++row)
            EXPECT_EQ(rgbAt(pad(), row, col), bodyColour(col, 0, 1, 1)) << row << "," << col;
    EXPECT_EQ(rgbAt(pad(), top + 8, 27), dark);
    for (int row = top + 5; row <= top + 11; ++row) EXPECT_EQ(rgbAt(pad(), row, 28), dark);
    // Edges: bright above, dark below, across body and ramp.
    for (int col = 6; col <= 26; ++col) {
        EXPECT_EQ(rgbAt(pad(), top + 6, col), bright) << col;
        EXPECT_EQ(rgbAt(pad(), top + 11, col), dark) << col;
    }
    // A one-step note has no extra ramp column: column 29 is the step line.
    EXPECT_EQ(rgbAt(pad(), top + 8, 29), (Rgb{180, 180, 180}));
}

TEST_F(NotePadPanels, SlideRampDescendsToTheNextRow) {
    app->song.Effect[0][kKnobSlide].value = 0.6f; // slide length 10: ramp from column 14
    putNote(0, 0, {10, 8});
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    const int top = 8 * (23 - 10);
    // The ramp's five-row band ends 16 rows lower, in the extra column 29 of a note that goes on.
    EXPECT_EQ(rgbAt(pad(), top + 6 + 16 + 2, 29), bodyColour(29, 0, 1, 2));
    EXPECT_NE(bodyColour(29, 0, 1, 2), (Rgb{0, 0, 0}));
    // Between the bright and the dark edge the ramp descends column by column.
    int previous = top + 6;
    for (int col = 15; col <= 27; ++col) {
        int row = top + 5;
        while (row < 200 && rgbAt(pad(), row, col) != bodyColour(col, 0, 1, 2)) ++row;
        EXPECT_GE(row, previous) << col;
        previous = row;
    }
    EXPECT_GE(previous, top + 6 + 12);
    // The second cell of the note sits 16 rows lower.
    EXPECT_EQ(rgbAt(pad(), top + 16 + 8, 25 + 10), bodyColour(35, 1, 2, 2));
}

TEST_F(NotePadPanels, PreviewFollowsTheShownEnvelopeCurve) {
    // Bank 0 is looped with sustain 150..150 and release end 299; amplitude 1 - p / 300.
    EXPECT_NEAR(notePreviewLevel(app->song, app->ui.envelopeCurve, 0, 0, 1, 1),
                1.0f - 5.5f / 300.0f, 1e-5);
    // In the release of an 8-step note: points 152..163.
    EXPECT_NEAR(notePreviewLevel(app->song, app->ui.envelopeCurve, 0, 1, 7, 8),
                1.0f - 157.5f / 300.0f, 1e-5);

    Song& song = app->song;
    for (int p = 0; p < kEnvelopePoints; ++p) song.Pitch[0][p] = static_cast<float>(p) / 300.0f;
    app->ui.envelopeCurve = kCurvePitch;
    song.EnvelopeParams[0] = {100, 110, 299, 0};
    // Looped: point 110, then the loop wraps to 100..110.
    EXPECT_NEAR(notePreviewLevel(app->song, app->ui.envelopeCurve, 0, 0, 3, 8), 1265.0f / 3600.0f,
                1e-5);
    song.EnvelopeParams[0] = {100, 200, 299, 1};
    // Stretched with fewer than 2 points a pixel: interpolated at 100 x 50 / 401 + 100.
    EXPECT_NEAR(notePreviewLevel(app->song, app->ui.envelopeCurve, 0, 0, 3, 8),
                (100.0f * 50 / 401 + 100) / 300.0f, 1e-5);
    song.EnvelopeParams[0].envelopeMode = 7;
    EXPECT_EQ(notePreviewLevel(app->song, app->ui.envelopeCurve, 0, 0, 3, 8), 0.0f);
}

TEST_F(NotePadPanels, StepsPastTheBankLengthAreDimmed) {
    putNote(0, 0, {12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12, 12});
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    const PanelCanvas full = pad();
    app->song.BPMsr[0] = 1;
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    for (int row = 4; row < 196; row += 3) { // inside the frame
        EXPECT_EQ(rgbAt(pad(), row, 29), rgbAt(full, row, 29)) << row;
        for (int col : {30, 200, 403}) {
            const Rgb before = rgbAt(full, row, col);
            const Rgb dimmed{static_cast<int>(0.4f * before.red),
                             static_cast<int>(0.4f * before.green),
                             static_cast<int>(0.4f * before.blue)};
            EXPECT_EQ(rgbAt(pad(), row, col), dimmed) << row << "," << col;
        }
    }
    app->song.BPMsr[0] = 16;
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    EXPECT_EQ(pad().pixels, full.pixels);
}

TEST_F(NotePadPanels, NoteBeingDrawnIsRed) {
    app->drag.viewOffset[0] = 16;
    app->drag.noteDrawList[0] = {16 + 3, 5};
    app->drag.noteDrawList[1] = {16 + 4, 5};
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    const int y = 188 - 8 * 5;
    EXPECT_EQ(rgbAt(pad(), y + 4, 25 * 3 + 10), (Rgb{180, 0, 0}));
    EXPECT_EQ(rgbAt(pad(), y + 1, 25 * 3 + 10), (Rgb{234, 0, 0}));
    EXPECT_EQ(rgbAt(pad(), y + 7, 25 * 4 + 10), (Rgb{126, 0, 0}));
    EXPECT_EQ(rgbAt(pad(), y + 4, 25 * 4 + 29), (Rgb{126, 0, 0})); // closing edge
}

TEST_F(NotePadPanels, VelocityBarsOfZeroAndOne) {
    app->drag.panVelocitySelect = 0;
    app->song.Vel[0][0] = 0.0f; // columns 15..40
    app->song.Vel[0][1] = 1.0f; // columns 41..65
    renderPanAndVelocity(app->song, app->ui, app->drag, *screen, 0);
    const Rgb colour{200, 200, 0};
    for (int row = 4; row <= 40; ++row) {
        if (row == 13 || row == 23 || row == 32) continue; // grid rows
        EXPECT_EQ(rgbAt(bars(), row, 20), (Rgb{20, 20, 20})) << row;
        EXPECT_EQ(rgbAt(bars(), row, 50), colour) << row;
    }
    // Pan bars of the same steps follow Pan, not Vel.
    app->drag.panVelocitySelect = 1;
    app->song.Pan[0][0] = 1.0f;
    renderPanAndVelocity(app->song, app->ui, app->drag, *screen, 0);
    EXPECT_EQ(rgbAt(bars(), 5, 20), colour);
    EXPECT_EQ(rgbAt(bars(), 24, 50), colour); // pan 0.5: from row 23 down
    EXPECT_EQ(rgbAt(bars(), 22, 50), (Rgb{20, 20, 20}));
}

TEST_F(NotePadPanels, DamagedSongValuesDrawWithoutFault) {
    Song& song = app->song;
    song.Effect[0][kKnobSlide].value = kNaN;
    song.BGR[0][0] = kInf;
    song.BGR[0][1] = -kInf;
    song.BGR[0][2] = kNaN;
    song.EnvIdx[0] = 42;
    song.EnvelopeParams[0] = {-500, 100000, -7, 1};
    song.BPMsr[0] = -3;
    NoteGrid& grid = song.noteGrid[0];
    for (int step = 0; step < 16; ++step) {
        grid.notePosition[step][step] = step % 2 ? std::numeric_limits<int>::max() : 1;
        grid.noteLength[step][step] = step % 3 ? std::numeric_limits<int>::min() : 2;
        grid.nextRow[step][step] = step % 4 ? 99 : -5;
    }
    for (int step = 0; step < kGridSteps; ++step) {
        song.Pan[0][step] = step % 2 ? kNaN : 1e30f;
        song.Vel[0][step] = -kInf;
    }
    app->drag.viewOffset[0] = 100000;
    app->drag.noteDrawList[0] = {std::numeric_limits<int>::max(), 99};
    app->drag.noteDrawList[1] = {-40000, -3};
    app->ui.envelopeCurve = 17;
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    renderPanAndVelocity(app->song, app->ui, app->drag, *screen, 9);
    app->drag.viewOffset[0] = 0;
    renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
    for (int t : {-1, 0, 1, 1000}) {
        for (int n : {-1, 0, 1, 5, 1000}) {
            const float level = notePreviewLevel(app->song, app->ui.envelopeCurve, 0, 3, t, n);
            EXPECT_TRUE(level >= 0.0f && level <= 1.0f) << t << "," << n;
        }
    }
}

} // namespace
