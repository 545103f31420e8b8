// Effect panels: the 2D controller's cursor and trail, knob captions, delay markers and texts,
// the delay display's echo picture, and damaged song values.
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "screen_test_support.h"
#include "ui/drawing.h"
#include "ui/knob_labels.h"
#include "ui/panel_renderers.h"

namespace {

class EffectPanels : public ScreenTest {
  protected:
    PanelCanvas& controller(int instrument = 0) {
        return panelCanvas(*screen, PanelId::EffectController2D, instrument);
    }
    PanelCanvas& knobs() { return panelCanvas(*screen, PanelId::EffectKnobs); }
    PanelCanvas& delays() { return panelCanvas(*screen, PanelId::DelayReverb); }
    PanelCanvas& echoes() { return panelCanvas(*screen, PanelId::DelayDisplay); }

    void setAxes(float x, float y) {
        app->song.Effect[0][app->song.EffectDim[0].xKnob].value = x;
        app->song.Effect[0][app->song.EffectDim[0].yKnob].value = y;
    }
    // One delay of instrument 0, the others silent.
    void setOnlyDelay(float offset, float fineTune, float feedback, float lowPass) {
        for (auto& delay : app->song.DelayParams[0]) delay[kDelayFeedback] = 0.0f;
        float* delay = app->song.DelayParams[0][0];
        delay[kDelayOffset] = offset;
        delay[kDelayFineTune] = fineTune;
        delay[kDelayFeedback] = feedback;
        delay[kDelayLowPass] = lowPass;
    }
};

const Rgb kCursorCentre{100, 100, 100};

TEST_F(EffectPanels, ControllerCursorReachesBothEndsOfEachAxis) {
    setAxes(0.0f, 0.0f);
    renderEffectController2D(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(controller(), 14, 27), kCursorCentre);
    setAxes(1.0f, 1.0f);
    renderEffectController2D(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(controller(), 172, 185), kCursorCentre);
    // Each instrument draws into its own canvas.
    EXPECT_EQ(rgbAt(controller(1), 172, 185), (Rgb{0, 0, 0}));
}

TEST_F(EffectPanels, ControllerTrailFadesToTheGridGrey) {
    setAxes(0.3f, 0.3f); // centre at row 61, column 74
    renderEffectController2D(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(controller(), 61, 74), kCursorCentre);
    setAxes(0.9f, 0.9f);
    renderEffectController2D(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(controller(), 61, 74), (Rgb{20, 90, 20}));
    renderEffectController2D(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(controller(), 61, 74), (Rgb{20, 81, 20}));
    for (int i = 0; i < 40; ++i) renderEffectController2D(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(controller(), 61, 74), (Rgb{20, 20, 20}));
}

TEST_F(EffectPanels, DraggedKnobShowsItsValue) {
    auto caption = [&](int instrument, int knob) {
        return std::string(effectKnobCaption(app->song, app->ui, app->drag, instrument, knob).text);
    };
    app->song.Effect[0][3].value = 0.5f;
    EXPECT_EQ(caption(0, 3), "DISTORT");
    renderEffectKnobs(app->song, app->ui, app->drag, *screen, 0);
    const std::vector<uint8_t> idle = canvas(PanelId::EffectKnobs).pixels;
    app->drag.knobDragIndex = 3;
    EXPECT_EQ(caption(0, 3), "50");
    EXPECT_EQ(caption(0, 2), "RESOVER");
    EXPECT_EQ(caption(1, 3), "DISTORT") << "only the current instrument's knob is turned";
    renderEffectKnobs(app->song, app->ui, app->drag, *screen, 0);
    EXPECT_NE(canvas(PanelId::EffectKnobs).pixels, idle);
    // The 2D controller drag shows the values of both axis knobs (CUTOFF 1.0, RES 0).
    app->drag.knobDragIndex = -1;
    app->drag.effectDimDragging = 1;
    EXPECT_EQ(caption(0, 0), "100");
    EXPECT_EQ(caption(0, 1), "0");
    EXPECT_EQ(caption(0, 3), "DISTORT");
}

TEST(KnobLabels, NameEveryShownKnobAndNothingElse) {
    EXPECT_STREQ(effectKnobLabel(0).shortName, "CUTOFF");
    EXPECT_STREQ(effectKnobLabel(0).longName, "CUTOFF FREQUENCY");
    EXPECT_STREQ(effectKnobLabel(3).longName, "AMPLITUDE CUTOFF");
    for (int k = 0; k < 12; ++k) EXPECT_STRNE(effectKnobLabel(k).shortName, "") << k;
    for (int knob : {12, 15, 16, -1}) {
        EXPECT_STREQ(effectKnobLabel(knob).shortName, "");
        EXPECT_STREQ(effectKnobLabel(knob).longName, "");
    }
    EXPECT_STREQ(waveformKnobLabel(kKnobHigh).longName, "WAVEFORM HARMONY");
    EXPECT_STREQ(waveformKnobLabel(kKnobNoise).shortName, "NOISE");
    EXPECT_STREQ(waveformKnobLabel(3).shortName, "");
}

TEST_F(EffectPanels, DelayMarkerAndDragTexts) {
    setOnlyDelay(1.0f, 0.5f, 0.5f, 0.0f);
    renderDelayReverb(app->song, app->ui, app->drag, *screen, 0);
    // Offset 1 step, no fine tune: the marker's stem is at column 42 from row 26 to 38.
    EXPECT_EQ(rgbAt(delays(), 30, 42), (Rgb{200, 0, 0}));

    // Dragging the feedback of delay 0 replaces the column labels by the value.
    app->drag.delayDragRow = 0;
    app->drag.delayDragColumn = kDelayFeedback;
    renderDelayReverb(app->song, app->ui, app->drag, *screen, 0);
    PanelCanvas reference = blankCanvas(288, 90);
    drawText(reference, screen->glyphs.text, 4, 168, 0, true, 0, 0.8f, 0, "FEEDBACK  50");
    drawText(reference, screen->glyphs.text, 4, 80, 0, true, 0, 0.8f, 0, "1.000");
    for (int row = 4; row < 10; ++row)
        for (int col = 80; col < 285; ++col) // inside the header frame
            EXPECT_EQ(rgbAt(delays(), row, col), rgbAt(reference, row, col)) << row << "," << col;
}

TEST_F(EffectPanels, DelayOfOneStepEchoesEvery40Columns) {
    setOnlyDelay(1.0f, 0.5f, 1.0f, 0.0f); // D = 120 samples, full feedback
    renderDelayDisplay(app->song, app->ui, *screen, 0);
    const Rgb red{255, 0, 0};
    const Rgb black{0, 0, 0};
    for (int r = 0; r < 45; ++r) { // row 47 is the frame's bottom band
        const int row = 2 + r;
        for (int col = 2; col <= 362; col += 40) {
            if (row >= 19 && row <= 31 && col >= 162 && col <= 212) continue; // warning box
            EXPECT_EQ(rgbAt(echoes(), row, col), red) << row << "," << col;
            EXPECT_EQ(rgbAt(echoes(), row, col + 1), black) << row << "," << col + 1;
        }
    }
    // The FEEDBACK warning's frame: its top row is the raised frame's light edge.
    EXPECT_EQ(rgbAt(echoes(), 19, 170), (Rgb{180, 180, 180}));
}

TEST_F(EffectPanels, DelayDisplayEdgeCases) {
    // Offset 0 with no fine tune: D = 0 adds nothing, only the impulse shows.
    setOnlyDelay(0.0f, 0.5f, 1.0f, 0.0f);
    renderDelayDisplay(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(echoes(), 10, 2), (Rgb{255, 0, 0}));
    EXPECT_EQ(rgbAt(echoes(), 10, 42), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(echoes(), 19, 170), (Rgb{180, 180, 180})); // feedback 1 still warns
    // A low pass of 1 silences the echoes of row 0 and barely touches row 44.
    setOnlyDelay(1.0f, 0.5f, 1.0f, 1.0f);
    renderDelayDisplay(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(echoes(), 2, 42), (Rgb{0, 0, 0}));
    EXPECT_EQ(rgbAt(echoes(), 46, 42).red, 255);
    // Feedback 0.5 alone: no warning, the box area shows the echo picture (black there).
    setOnlyDelay(1.0f, 0.5f, 0.5f, 0.0f);
    renderDelayDisplay(app->song, app->ui, *screen, 0);
    EXPECT_EQ(rgbAt(echoes(), 19, 170), (Rgb{0, 0, 0}));
    const Rgb echo = rgbAt(echoes(), 10, 42); // 0.25: green 159
    EXPECT_EQ(echo, (Rgb{0, 159, 0}));
}

TEST_F(EffectPanels, DamagedSongValuesDrawWithoutFault) {
    Song& song = app->song;
    const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f, 3.0f, -2.0f};
    for (int i = 0; i < kInstrumentCount; ++i) {
        for (int k = 0; k < kEffectKnobCount; ++k) {
            song.Effect[i][k].value = wild[(i + k) % 7];
        }
        for (int d = 0; d < kDelayCount; ++d)
            for (int v = 0; v < kDelayValues; ++v)
                song.DelayParams[i][d][v] = wild[(i + d + v) % 7];
        song.EffectDim[i] = {i % 2 ? 77 : -5, i % 2 ? -1000 : 16};
    }
    app->drag.knobDragIndex = 2;
    app->drag.effectDimDragging = 1;
    app->drag.delayDragRow = 1;
    app->drag.delayDragColumn = 4;
    for (int i = 0; i < kInstrumentCount; ++i) {
        renderEffectController2D(app->song, app->ui, *screen, i);
        renderEffectKnobs(app->song, app->ui, app->drag, *screen, i);
        renderDelayReverb(app->song, app->ui, app->drag, *screen, i);
        renderDelayDisplay(app->song, app->ui, *screen, i);
    }
    app->drag.delayDragRow = 7;
    app->drag.delayDragColumn = 9;
    renderDelayReverb(app->song, app->ui, app->drag, *screen, 0);
    renderEffectController2D(app->song, app->ui, *screen, -3);
}

} // namespace
