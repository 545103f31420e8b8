// The wave editor, wave buttons, envelope editor and envelope buttons.
#include <cmath>
#include <cstring>

#include "screen_test_support.h"
#include "ui/panel_renderers.h"

namespace {

using WaveEnvelopePanels = ScreenTest;

TEST_F(WaveEnvelopePanels, FlatWaveformHidesThePlaybackTraceOnTheZeroRow) {
    for (int i = 0; i < kWaveformSamples; ++i) app->song.Sound[2][i] = 0;
    for (int i = 0; i <= kWaveformSamples; ++i) app->engine.playbackWaveforms.wave[2][i] = 0;
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, 2);
    const PanelCanvas& c = canvas(PanelId::WaveEditor);
    for (int col = 44; col < 393; ++col) {
        EXPECT_EQ(rgbAt(c, 64, col), (Rgb{0, 255, 0})) << col;
        EXPECT_EQ(rgbAt(c, 63, col), (Rgb{0, 255, 0})) << col; // the line's upper neighbour
    }
    for (int row = 4; row < 124; ++row)
        for (int col = 44; col < 394; ++col)
            ASSERT_FALSE(getChannel(c, row, col, kBlue) == 255 &&
                         getChannel(c, row, col, kGreen) == 0)
                << row << "," << col;
}

TEST_F(WaveEnvelopePanels, DrawnWaveformTracesAreScaledToThePlot) {
    for (int i = 0; i < kWaveformSamples; ++i) {
        app->song.Sound[0][i] = 100;  // row (228 x 120 / 256) + 4 = 110.875
        app->song.Sound[1][i] = -128; // row 4
    }
    const PanelCanvas& c = canvas(PanelId::WaveEditor);
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, 0);
    EXPECT_EQ(rgbAt(c, 110, 200), (Rgb{0, 255, 0}));
    // The row below is blended twice (by both segments that meet at the column) with alpha
    // 0.875 over the grey-20 plot: 20 -> 225 -> 251.
    EXPECT_EQ(getChannel(c, 111, 200, kGreen), 251);
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, 1);
    EXPECT_EQ(rgbAt(c, 4, 200), (Rgb{0, 255, 0}));
}

TEST_F(WaveEnvelopePanels, DraggedKnobShowsItsValueInPlaceOfItsLabel) {
    app->song.SoundEffect[0][kKnobMix].value = 0.257f;
    app->drag.waveDragMode = kKnobMix;
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, 0);
    PanelCanvas expected = blankCanvas(40, 12);
    drawText(expected, screen->glyphs.text, 5, 19 - 10 / 2, 0, true, 0, 0.8f, 0, "25");
    const PanelCanvas& c = canvas(PanelId::WaveEditor);
    for (int row = 5; row < 11; ++row)
        for (int col = 4; col < 35; ++col) // between the strip frame's bands
            ASSERT_EQ(rgbAt(c, row, col), rgbAt(expected, row, col)) << row << "," << col;

    // Released: the short label again, centred the same way.
    app->drag.waveDragMode = -1;
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, 0);
    PanelCanvas label = blankCanvas(40, 12);
    drawText(label, screen->glyphs.text, 5, 19 - 15 / 2, 0, true, 0, 0.8f, 0, "MIX");
    for (int col = 4; col < 35; ++col) ASSERT_EQ(rgbAt(c, 7, col), rgbAt(label, 7, col)) << col;
}

TEST_F(WaveEnvelopePanels, ImportedFileShowsItsLevelsAndLoopMarkers) {
    app->engine.chunkFrames = 4725;
    app->engine.streamRate = 44100;
    const int slot = 1;
    app->song.SoundType[slot] = 1;
    app->song.SoundFileParams[slot] = {22050, 1, 0};
    app->song.SoundFileLoop[slot] = {10, 300};
    FileSamples& file = app->song.SoundFileVals[slot];
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    // A file at half the output rate: each column covers 22050 x 4725 x 16 / (44100 x 350)
    // = 108 samples. Columns 0..4 loud, the rest silent.
    file.fileSampleCount = 108 * 350;
    for (int i = 0; i < 108 * 5; ++i) samples[i] = i % 2 ? 127.0f : -127.0f;
    file.fileSamples = samples;
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, slot);
    const PanelCanvas& c = canvas(PanelId::WaveEditor);
    // Loud column: rows 4 + (60 - 60) - 1 = 3 through 4 + (60 + 60) + 1 = 125 (clipped by frame).
    EXPECT_EQ(getChannel(c, 10, 46, kGreen), 200);
    EXPECT_EQ(getChannel(c, 120, 46, kGreen), 200);
    // Silent column: only rows 63..65 around the centre.
    EXPECT_EQ(getChannel(c, 64, 100, kGreen), 200);
    EXPECT_NE(getChannel(c, 70, 100, kGreen), 200);
    // Loop markers at columns 10 + 44 and 300 + 43, over the plot rows.
    for (int col : {54, 343}) {
        EXPECT_EQ(getChannel(c, 30, col, kGreen), 250);
        EXPECT_EQ(getChannel(c, 30, col, kRed), 250);
    }
    // Imported files label only the NOISE knob.
    PanelCanvas label = blankCanvas(40, 100);
    drawText(label, screen->glyphs.text, 85, 19 - 25 / 2, 0, true, 0, 0.8f, 0, "NOISE");
    for (int col = 4; col < 35; ++col) ASSERT_EQ(rgbAt(c, 87, col), rgbAt(label, 87, col));
}

TEST_F(WaveEnvelopePanels, StereoFileColumnsTakeBothChannelsOfTheirFrames) {
    app->engine.chunkFrames = 4725;
    app->engine.streamRate = 22050;
    const int slot = 2;
    app->song.SoundType[slot] = 1;
    app->song.SoundFileParams[slot] = {22050, 2, 0};
    app->song.SoundFileLoop[slot] = {200, 300}; // loop markers away from the columns looked at
    FileSamples& file = app->song.SoundFileVals[slot];
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    // 216 frames a column (4725 x 16 / 350): 432 interleaved samples. Columns 0 and 2 loud on
    // both channels, column 1 silent.
    const int perColumn = 432;
    file.fileSampleCount = 3 * perColumn;
    for (int i = 0; i < 3 * perColumn; ++i)
        samples[i] = i / perColumn == 1 ? 0.0f : (i % 4 < 2 ? 127.0f : -127.0f);
    file.fileSamples = samples;
    renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                     panelInputs(*app).clock, *screen, slot);
    const PanelCanvas& c = canvas(PanelId::WaveEditor);
    // Left channel bars around row 34, right channel bars around row 94.
    for (int row : {10, 110}) {
        EXPECT_EQ(getChannel(c, row, 44, kGreen), 200) << row;
        EXPECT_NE(getChannel(c, row, 45, kGreen), 200) << row;
        EXPECT_EQ(getChannel(c, row, 46, kGreen), 200) << row;
    }
    EXPECT_EQ(getChannel(c, 34, 45, kGreen), 200);
    EXPECT_EQ(getChannel(c, 94, 45, kGreen), 200);
}

TEST_F(WaveEnvelopePanels, WaveButtonsMarkTheSelectedWaveform) {
    app->song.SoundIdx[0] = 3;
    for (int i = 0; i < kWaveformSamples; ++i) app->song.Sound[5][i] = 0;
    renderWaveButtons(app->song, app->ui, panelInputs(*app).clock, *screen,
                      app->ui.currentInstrument);
    const PanelCanvas& c = canvas(PanelId::WaveButtons);
    EXPECT_EQ(rgbAt(c, 1, 3 * 44 + 5), (Rgb{60, 60, 60}));    // sunken: dark inner top
    EXPECT_EQ(rgbAt(c, 0, 2 * 44 + 5), (Rgb{180, 180, 180})); // raised: light top
    // Waveform 5 all at 0: the dotted miniature runs along row trunc(127 / 254 x 18) + 2 = 11.
    for (int k = 0; k < 39; ++k) EXPECT_EQ(rgbAt(c, 11, 5 * 44 + 2 + k), (Rgb{0, 125, 0})) << k;
}

TEST_F(WaveEnvelopePanels, EnvelopeValueOneFillsFromRowFifteenAndZeroFillsNothing) {
    for (int i = 0; i < kEnvelopePoints; ++i) {
        app->song.Envelope[4][i] = i < 150 ? 1.0f : 0.0f;
    }
    app->song.EnvelopeParams[4] = {280, 290, 295, 0};
    renderEnvelopeEditor(app->song, app->ui, *screen, 4, kCurveAmplitude);
    const PanelCanvas& c = canvas(PanelId::EnvelopeEditor);
    // (Row 158 lies under the frame's bottom band.)
    for (int row = 15; row < 158; ++row) EXPECT_EQ(getChannel(c, row, 60, kRed), 220) << row;
    EXPECT_EQ(rgbAt(c, 14, 60), (Rgb{150, 150, 120})); // the frame band above
    // Value 0 (point 160 at column 210): the plot keeps its grey background.
    for (int row = 15; row < 158; ++row)
        EXPECT_EQ(getChannel(c, row, 211, kRed), getChannel(c, row, 211, kBlue)) << row;
}

TEST_F(WaveEnvelopePanels, EnvelopeCurvesUseTheirOwnChannels) {
    app->song.Pitch[0][20] = 0.5f;
    app->song.Ratio[0][20] = 0.5f;
    app->song.EnvelopeParams[0] = {250, 260, 280, 0};
    renderEnvelopeEditor(app->song, app->ui, *screen, 0, kCurvePitch);
    const PanelCanvas& c = canvas(PanelId::EnvelopeEditor);
    // Value 0.5: row 87 down; only green is written.
    EXPECT_EQ(rgbAt(c, 100, 70), (Rgb{20, 130, 20}));
    EXPECT_EQ(rgbAt(c, 86, 70), (Rgb{20, 20, 20}));
    renderEnvelopeEditor(app->song, app->ui, *screen, 0, kCurveRatio);
    EXPECT_EQ(rgbAt(c, 100, 70), (Rgb{150, 20, 20})); // red below
    EXPECT_EQ(rgbAt(c, 30, 70), (Rgb{20, 20, 110}));  // blue above
}

TEST_F(WaveEnvelopePanels, SustainModeAndMarkers) {
    app->song.EnvelopeParams[0] = {100, 200, 250, 1};
    renderEnvelopeEditor(app->song, app->ui, *screen, 0, 0);
    const PanelCanvas& c = canvas(PanelId::EnvelopeEditor);
    EXPECT_EQ(rgbAt(c, 1, 5), (Rgb{60, 60, 60}));     // stretched: left button sunken
    EXPECT_EQ(rgbAt(c, 0, 30), (Rgb{180, 180, 180})); // right button raised
    for (int col : {150, 250, 300}) {
        EXPECT_EQ(getChannel(c, 120, col, kGreen), 220) << col;
        EXPECT_EQ(getChannel(c, 120, col, kBlue), 0) << col;
    }
    EXPECT_EQ(getChannel(c, 4, 153, kRed), 200); // start wedge tip
    EXPECT_EQ(getChannel(c, 5, 246, kRed), 200); // end wedge tip

    app->song.EnvelopeParams[0].envelopeMode = 0;
    renderEnvelopeEditor(app->song, app->ui, *screen, 0, 0);
    EXPECT_EQ(rgbAt(c, 1, 30), (Rgb{60, 60, 60})); // looped: right button sunken
    EXPECT_EQ(rgbAt(c, 0, 5), (Rgb{180, 180, 180}));
}

// Markers that meet (the default 150/150): the start marker is drawn whole, then the end marker
// over it. Each line of a marker also covers the column to its left.
TEST_F(WaveEnvelopePanels, TheEndMarkerIsDrawnOverTheStartMarker) {
    app->song.EnvelopeParams[0] = {150, 150, 299, 1};
    renderEnvelopeEditor(app->song, app->ui, *screen, 0, 0);
    const PanelCanvas& c = canvas(PanelId::EnvelopeEditor);
    for (int row = 1; row <= 8; ++row) {
        EXPECT_EQ(getChannel(c, row, 200, kRed), 150) << "end marker's outer line, row " << row;
        if (row >= 2 && row <= 7) {
            EXPECT_EQ(getChannel(c, row, 199, kRed), 166) << "end marker's middle line";
        }
        if (row >= 3 && row <= 6) {
            EXPECT_EQ(getChannel(c, row, 201, kRed), 183) << "start marker's inner line";
            EXPECT_EQ(getChannel(c, row, 197, kRed), 183) << "end marker's inner line";
        }
    }
    EXPECT_EQ(getChannel(c, 4, 203, kRed), 200); // start wedge tip
    EXPECT_EQ(getChannel(c, 5, 196, kRed), 200); // end wedge tip
}

TEST_F(WaveEnvelopePanels, EnvelopeButtonsShowTheChosenCurve) {
    for (int i = 0; i < kEnvelopePoints; ++i) app->song.Envelope[0][i] = 1.0f;
    app->song.EnvIdx[0] = 0;
    app->ui.envelopeCurve = kCurveAmplitude;
    renderEnvelopeButtons(app->song, app->ui, *screen, app->ui.currentInstrument);
    const PanelCanvas& c = canvas(PanelId::EnvelopeButtons);
    EXPECT_EQ(rgbAt(c, 2, 10), (Rgb{20, 20, 20}));  // level 1 is not below the value 1
    EXPECT_EQ(rgbAt(c, 3, 10), (Rgb{220, 20, 20})); // selected bank, full brightness
    for (int i = 0; i < kEnvelopePoints; ++i) app->song.Envelope[1][i] = 1.0f;
    renderEnvelopeButtons(app->song, app->ui, *screen, app->ui.currentInstrument);
    EXPECT_EQ(rgbAt(c, 3, 38 + 10), (Rgb{120, 20, 20})); // other banks at half brightness
}

// Whatever a damaged song file holds, the renderers stay within the canvas and defined (the
// sanitizer build checks this).
TEST_F(WaveEnvelopePanels, DamagedSongValuesAreDrawnSafely) {
    const float nasty[] = {std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity(),
                           -std::numeric_limits<float>::infinity(),
                           1e30f,
                           -1e30f,
                           3e9f};
    Song& song = app->song;
    for (int s = 0; s < kWaveformSlotCount; ++s) {
        for (int i = 0; i < kWaveformSamples; ++i) {
            song.Sound[s][i] = nasty[(i + s) % 6];
            app->engine.playbackWaveforms.wave[s][i] = nasty[(i + s + 1) % 6];
        }
        for (KnobRecord& knob : song.SoundEffect[s]) knob.value = nasty[s % 6];
        song.SoundType[s] = s % 2;
        song.SoundFileParams[s] = {s == 1 ? std::numeric_limits<int>::max() : -5, 7, 0};
        song.SoundFileLoop[s] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max()};
        song.SoundFileVals[s].fileSampleCount = std::numeric_limits<int>::max();
    }
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    for (int i = 0; i < kMaxFileSamples; ++i) samples[i] = nasty[i % 6];
    song.SoundFileVals[3].fileSamples = samples;
    song.SoundFileParams[3] = {44100, 2, 0};
    for (int b = 0; b < kEnvelopeBankCount; ++b) {
        for (int i = 0; i < kEnvelopePoints; ++i) {
            song.Envelope[b][i] = nasty[i % 6];
            song.Pitch[b][i] = nasty[(i + 1) % 6];
            song.Cutoff[b][i] = nasty[(i + 2) % 6];
            song.Ratio[b][i] = nasty[(i + 3) % 6];
        }
        song.EnvelopeParams[b] = {std::numeric_limits<int>::min(), std::numeric_limits<int>::max(),
                                  -7, 12345};
    }
    song.SoundIdx[0] = 99;
    song.EnvIdx[0] = -99;
    app->ui.envelopeCurve = 17;
    app->ui.currentInstrument = 0;
    app->engine.chunkFrames = std::numeric_limits<int>::max();
    app->drag.waveDragMode = 1;
    for (int s = -1; s <= kWaveformSlotCount; ++s)
        renderWaveEditor(app->song, app->engine.playbackWaveforms.wave, app->ui, app->drag,
                         panelInputs(*app).clock, *screen, s);
    renderWaveButtons(app->song, app->ui, panelInputs(*app).clock, *screen,
                      app->ui.currentInstrument);
    for (int b = -1; b <= kEnvelopeBankCount; ++b)
        for (int c = -1; c <= 4; ++c) renderEnvelopeEditor(app->song, app->ui, *screen, b, c);
    app->ui.currentInstrument = 9;
    renderEnvelopeButtons(app->song, app->ui, *screen, app->ui.currentInstrument);
    renderWaveButtons(app->song, app->ui, panelInputs(*app).clock, *screen,
                      app->ui.currentInstrument);
    SUCCEED();
}

} // namespace
