// Meters, mixer and help line panels: CPU meter levels, the decaying clip flash, the needle,
// instrument buttons, mute lamps, and damaged values.
#include "screen_test_support.h"
#include "ui/drawing.h"
#include "ui/panel_renderers.h"

namespace {

using MeterPanels = ScreenTest;

TEST_F(MeterPanels, CpuMeterAtNoLoadAndFullLoad) {
    app->stream.cpuLoad = 0.0f;
    renderCpuMeter(app->ui, panelInputs(*app).meters, *screen);
    const PanelCanvas& meter = canvas(PanelId::CpuMeter);
    EXPECT_EQ(rgbAt(meter, 16, 10), (Rgb{60, 0, 0}));
    EXPECT_EQ(rgbAt(meter, 27, 10), (Rgb{60, 60, 0}));
    EXPECT_EQ(rgbAt(meter, 59, 10), (Rgb{0, 60, 0})); // rows 60..62: the frame

    app->stream.cpuLoad = 1.0f; // rows 16..61 lit
    renderCpuMeter(app->ui, panelInputs(*app).meters, *screen);
    EXPECT_EQ(rgbAt(meter, 16, 10), (Rgb{220, 0, 0}));
    EXPECT_EQ(rgbAt(meter, 27, 10), (Rgb{220, 220, 0}));
    EXPECT_EQ(rgbAt(meter, 59, 10), (Rgb{0, 220, 0}));
    EXPECT_EQ(rgbAt(meter, 15, 10), (Rgb{120, 120, 120})); // scale line

    app->stream.cpuLoad = 0.5f; // 23 rows unlit: lit from row 39
    renderCpuMeter(app->ui, panelInputs(*app).meters, *screen);
    EXPECT_EQ(rgbAt(meter, 38, 10), (Rgb{0, 60, 0}));
    EXPECT_EQ(rgbAt(meter, 39, 10), (Rgb{0, 220, 0}));
}

TEST_F(MeterPanels, ClipFlashDecaysAwayAfter459Renders) {
    app->stream.clipped = 1.0f;
    renderPanel(*app, *screen, PanelId::VolumeMeter, 0);
    const PanelCanvas& meter = canvas(PanelId::VolumeMeter);
    EXPECT_EQ(rgbAt(meter, 5, 5), (Rgb{150, 0, 0})); // black corner of the dial turns red
    for (int i = 1; i < 458; ++i) renderPanel(*app, *screen, PanelId::VolumeMeter, 0);
    EXPECT_GT(app->stream.clipped, 0.01f);
    renderPanel(*app, *screen, PanelId::VolumeMeter, 0);
    EXPECT_LT(app->stream.clipped, 0.01f);
    EXPECT_EQ(rgbAt(meter, 5, 5), (Rgb{1, 0, 0})); // the 459th flash was the last, at 1 %
    renderPanel(*app, *screen, PanelId::VolumeMeter, 0);
    EXPECT_EQ(rgbAt(meter, 5, 5), (Rgb{0, 0, 0}));
}

TEST_F(MeterPanels, NeedleSwingsFromLeftToRight) {
    const PanelCanvas& meter = canvas(PanelId::VolumeMeter);
    // The needle is neutral grey; the dial under it is tinted (blue 100, red and green more).
    const Rgb needle{120, 120, 120};
    app->stream.volumeLevel = 0.0f; // tip near (8, 46)
    renderVolumeMeter(app->ui, panelInputs(*app).meters, *screen);
    EXPECT_EQ(rgbAt(meter, 49, 26), needle);
    EXPECT_NE(rgbAt(meter, 49, 56), needle);
    app->stream.volumeLevel = 127.0f; // tip near (74, 46)
    renderVolumeMeter(app->ui, panelInputs(*app).meters, *screen);
    EXPECT_NE(rgbAt(meter, 49, 26), needle);
    EXPECT_EQ(rgbAt(meter, 49, 56), needle);
}

TEST_F(MeterPanels, InstrumentButtonsAndMuteLamps) {
    app->ui.currentInstrument = 2;
    renderInstrumentButtons(app->song, app->ui, *screen, app->ui.currentInstrument);
    const PanelCanvas& buttons = canvas(PanelId::InstrumentButton);
    EXPECT_EQ(rgbAt(buttons, 10, 51 + 10), (Rgb{72, 72, 225}));  // instrument 1 at 0.9
    EXPECT_EQ(rgbAt(buttons, 10, 102 + 10), (Rgb{250, 150, 0})); // current at full colour
    EXPECT_EQ(rgbAt(buttons, 1, 102 + 10), (Rgb{60, 60, 60}));   // sunken

    // Silent, or about to be: exactly one of Mute and the pending toggle.
    app->song.Mute[0] = 1;
    app->song.Mute[1] = 1;
    app->engine.pendingMuteToggle[1] = 1;
    app->engine.pendingMuteToggle[2] = 1;
    renderInstrumentControl(app->song, app->ui, panelInputs(*app).transport, *screen);
    const PanelCanvas& control = canvas(PanelId::InstrumentControl);
    const Rgb red{90, 0, 0};
    const Rgb glowCentre{0, 180, 0};
    EXPECT_EQ(rgbAt(control, 12, 0 + 12), red);
    EXPECT_EQ(rgbAt(control, 12, 51 + 12), glowCentre);
    EXPECT_EQ(rgbAt(control, 12, 102 + 12), red);
    EXPECT_EQ(rgbAt(control, 12, 153 + 12), glowCentre);
}

TEST_F(MeterPanels, HelpLineDrawsTheTextInYellow) {
    renderHelpLine(app->ui, *screen, "BPM");
    PanelCanvas reference = blankCanvas(485, 17);
    drawText(reference, screen->glyphs.text, 5, 8, 0, true, 0.7f, 0.7f, 0, "BPM");
    const PanelCanvas& line = canvas(PanelId::helpLine);
    for (int row = 5; row < 11; ++row)
        for (int col = 8; col < 23; ++col)
            EXPECT_EQ(rgbAt(line, row, col), rgbAt(reference, row, col));
    renderHelpLine(app->ui, *screen, nullptr);
    EXPECT_EQ(rgbAt(line, 7, 10), (Rgb{0, 0, 0}));
}

// Every renderer of these panels on 16- and 24-bit canvases as well (the sanitizer build checks
// that no depth writes outside its buffers).
TEST(MeterPanelDepths, EveryPanelRendersAtEveryDepth) {
    for (int bytesPerPixel : {2, 3}) {
        auto app = newScreenTestApp();
        auto screen = newTestScreen(bytesPerPixel);
        app->stream.cpuLoad = 1.0f;
        app->stream.clipped = 1.0f;
        app->engine.playing = 1;
        app->drag.noteDrawList[0] = {0, 0};
        for (int i = 0; i < kInstrumentCount; ++i) {
            renderEffectController2D(app->song, app->ui, *screen, i);
            renderEffectKnobs(app->song, app->ui, app->drag, *screen, i);
            renderDelayReverb(app->song, app->ui, app->drag, *screen, i);
            renderDelayDisplay(app->song, app->ui, *screen, i);
            renderPanAndVelocity(app->song, app->ui, app->drag, *screen, i);
        }
        renderNotePad(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
        renderNoteBankButtons(app->song, app->ui, app->drag, *screen, app->ui.currentInstrument);
        renderNoteBankSequencer(app->song, app->ui, *screen, app->ui.currentInstrument);
        renderChordKeys(app->song, app->ui, *screen, app->ui.currentInstrument);
        renderBpmDisplay(app->song, app->ui, *screen);
        renderPlayStopRecord(app->ui, panelInputs(*app).transport, *screen);
        renderVolumeMeter(app->ui, panelInputs(*app).meters, *screen);
        renderMainVolume(app->song, app->ui, *screen);
        renderInstrumentButtons(app->song, app->ui, *screen, app->ui.currentInstrument);
        renderInstrumentControl(app->song, app->ui, panelInputs(*app).transport, *screen);
        renderHelpLine(app->ui, *screen, "HELP");
        renderCpuMeter(app->ui, panelInputs(*app).meters, *screen);
        const Rgb lit = bytesPerPixel == 2 ? Rgb{216, 220, 0} : Rgb{220, 220, 0};
        EXPECT_EQ(rgbAt(panelCanvas(*screen, PanelId::CpuMeter), 27, 10), lit) << bytesPerPixel;
    }
}

TEST_F(MeterPanels, DamagedValuesDrawWithoutFault) {
    Song& song = app->song;
    const float wild[] = {kNaN, kInf, -kInf, 1e30f, -1e30f};
    for (int w = 0; w < 5; ++w) {
        for (int i = 0; i < kInstrumentCount; ++i) {
            song.Volume[i] = wild[(w + i) % 5];
            song.Oct[i] = i % 2 ? std::numeric_limits<int>::min() : 99;
            for (int c = 0; c < 3; ++c) song.BGR[i][c] = wild[(w + i + c) % 5];
            song.Mute[i] = -7;
        }
        song.MainVolume[0] = wild[w];
        song.MainVolume[1] = wild[(w + 2) % 5];
        app->stream.cpuLoad = wild[w];
        app->stream.volumeLevel = wild[(w + 1) % 5];
        app->stream.clipped = wild[(w + 3) % 5];
        app->ui.currentInstrument = w - 2;
        renderVolumeMeter(app->ui, panelInputs(*app).meters, *screen);
        renderCpuMeter(app->ui, panelInputs(*app).meters, *screen);
        renderMainVolume(app->song, app->ui, *screen);
        renderInstrumentButtons(app->song, app->ui, *screen, app->ui.currentInstrument);
        renderInstrumentControl(app->song, app->ui, panelInputs(*app).transport, *screen);
    }
}

} // namespace
