// Rendering into the surface of a selection, the full render and present, and the pump's
// redraws.
#include "app/panel_redraw.h"
#include "ui/panel_table.h"
#include "ui/panel_update.h"

#include <cstring>
#include <limits>

#include "model/random.h"
#include "screen_test_support.h"
#include "ui/panel_renderers.h"

namespace {

class PanelUpdates : public ScreenTest {
  protected:
    bool surfaceIsBlack(PanelId id, int selection) {
        const PanelSurface& s = panelSurface(*screen, id, selection);
        for (uint8_t byte : s.pixels)
            if (byte) return false;
        return true;
    }

    // True when the window picture shows the surface at the rectangle, byte for byte.
    bool pictureShows(const PanelSurface& surface, const PanelRect& rect) {
        const PanelSurface& picture = screen->display.picture;
        for (int row = 0; row < surface.height; ++row)
            if (std::memcmp(&picture.pixels[static_cast<size_t>(rect.top + row) * picture.pitch +
                                            rect.left * 4],
                            &surface.pixels[static_cast<size_t>(row) * surface.pitch],
                            static_cast<size_t>(surface.width) * 4) != 0)
                return false;
        return true;
    }
};

TEST_F(PanelUpdates, SelectionsInViewFollowTheCurrentInstrument) {
    app->ui.currentInstrument = 2;
    app->song.SoundIdx[2] = 5;
    app->song.EnvIdx[2] = 3;
    app->ui.envelopeCurve = kCurveCutoff;
    EXPECT_EQ(selectionInView(app->song, app->ui, PanelId::WaveEditor), 5);
    EXPECT_EQ(selectionInView(app->song, app->ui, PanelId::EnvelopeEditor),
              14); // bank 3, cutoff curve
    for (PanelId id : {PanelId::EffectController2D, PanelId::EffectKnobs, PanelId::DelayReverb,
                       PanelId::DelayDisplay, PanelId::PanAndVelocity})
        EXPECT_EQ(selectionInView(app->song, app->ui, id), 2);
    EXPECT_EQ(selectionInView(app->song, app->ui, PanelId::NotePad), 0);
    // Damaged selections stay on existing surfaces.
    app->song.SoundIdx[2] = 1000;
    app->song.EnvIdx[2] = -4;
    EXPECT_EQ(selectionInView(app->song, app->ui, PanelId::WaveEditor), 7);
    EXPECT_EQ(selectionInView(app->song, app->ui, PanelId::EnvelopeEditor), 2);
}

TEST_F(PanelUpdates, RenderGoesToTheSurfaceOfItsSelectionOnly) {
    renderPanel(*app, *screen, PanelId::EnvelopeEditor, 14);
    EXPECT_FALSE(surfaceIsBlack(PanelId::EnvelopeEditor, 14));
    EXPECT_TRUE(surfaceIsBlack(PanelId::EnvelopeEditor, 13));
    EXPECT_TRUE(surfaceIsBlack(PanelId::EnvelopeEditor, 15));
    // Surface 14 holds bank 3 drawn as its cutoff curve.
    PanelSurface direct;
    createSurface(direct, 354, 163, 4);
    renderEnvelopeEditor(app->song, app->ui, *screen, 3, kCurveCutoff);
    copyCanvasToSurface(panelCanvas(*screen, PanelId::EnvelopeEditor), direct);
    EXPECT_EQ(direct.pixels, panelSurface(*screen, PanelId::EnvelopeEditor, 14).pixels);
    renderEnvelopeEditor(app->song, app->ui, *screen, 3, kCurvePitch);
    copyCanvasToSurface(panelCanvas(*screen, PanelId::EnvelopeEditor), direct);
    EXPECT_NE(direct.pixels, panelSurface(*screen, PanelId::EnvelopeEditor, 14).pixels);
}

TEST_F(PanelUpdates, RenderAllFillsEverySurfaceAndPresentAllShowsTheOnesInView) {
    renderAllPanels(*app, *screen);
    for (int p = 0; p < kPanelCount; ++p) {
        const auto id = static_cast<PanelId>(p);
        if (id == PanelId::stepStrip || id == PanelId::helpLine) continue;
        for (int s = 0; s < panelSurfaceCount(id); ++s)
            EXPECT_FALSE(surfaceIsBlack(id, s)) << p << "/" << s;
    }
    EXPECT_TRUE(surfaceIsBlack(PanelId::stepStrip, 0));

    app->ui.currentInstrument = 1;
    app->song.SoundIdx[1] = 6;
    screen->windowActive = 1;
    presentAllPanels(*app, *screen);
    for (int p = 0; p < kPanelCount; ++p) {
        const auto id = static_cast<PanelId>(p);
        EXPECT_TRUE(pictureShows(panelSurface(*screen, id, selectionInView(app->song, app->ui, id)),
                                 panelRect(screen->layout, id)))
            << p;
    }
    // Between the panels the window background shows.
    const PanelSurface& picture = screen->display.picture;
    EXPECT_EQ(picture.pixels[static_cast<size_t>(2) * picture.pitch + 2 * 4 + 0], 90);
    EXPECT_EQ(picture.pixels[static_cast<size_t>(2) * picture.pitch + 2 * 4 + 2], 26);
}

TEST_F(PanelUpdates, PumpRedrawsOnlyAfterStartUpAndClearsItsRequests) {
    screen->windowActive = 1;
    const PanelRect meter = panelRect(screen->layout, PanelId::VolumeMeter);
    const PanelSurface& picture = screen->display.picture;
    auto meterPixel = [&] {
        return picture.pixels[static_cast<size_t>(meter.top + 30) * picture.pitch +
                              (meter.left + 40) * 4 + 1];
    };
    app->stream.volumeLevel = 1.0f;
    pumpAndRedraw(*app, *screen); // start-up not finished: nothing drawn
    EXPECT_EQ(meterPixel(), 45);  // the window background's green
    EXPECT_FALSE(app->stream.redraws.meters);

    screen->initialised = 1;
    app->stream.redraws.sequencer = true;
    pumpAndRedraw(*app, *screen);
    EXPECT_NE(meterPixel(), 0);
    EXPECT_TRUE(pictureShows(panelSurface(*screen, PanelId::NoteBankSequencer, 0),
                             panelRect(screen->layout, PanelId::NoteBankSequencer)));
    EXPECT_FALSE(app->stream.redraws.meters);
    EXPECT_FALSE(app->stream.redraws.sequencer);
}

TEST_F(PanelUpdates, PumpRendersAMeterOnlyWhenItsPictureChanges) {
    screen->windowActive = 1;
    screen->initialised = 1;
    // Levels far past full scale stay at full scale while the pump lets them decay.
    app->stream.volumeLevel = 1000.0f;
    app->stream.cpuLoad = 3.0f;
    pumpAndRedraw(*app, *screen);
    PanelCanvas& volume = panelCanvas(*screen, PanelId::VolumeMeter);
    PanelCanvas& cpu = panelCanvas(*screen, PanelId::CpuMeter);
    const std::vector<uint8_t> volumeDrawn = volume.pixels;
    const std::vector<uint8_t> cpuDrawn = cpu.pixels;
    volume.pixels[0] = cpu.pixels[0] = 77; // marks that only a new rendering would undo

    pumpAndRedraw(*app, *screen);
    EXPECT_EQ(volume.pixels[0], 77);
    EXPECT_EQ(cpu.pixels[0], 77);

    app->stream.cpuLoad = 0.5f;
    pumpAndRedraw(*app, *screen);
    EXPECT_EQ(volume.pixels[0], 77);
    EXPECT_NE(cpu.pixels, cpuDrawn);
    EXPECT_NE(cpu.pixels[0], 77);

    app->stream.clipped = 1.0f; // a clip flash changes the volume meter
    pumpAndRedraw(*app, *screen);
    EXPECT_NE(volume.pixels, volumeDrawn);
    EXPECT_NE(volume.pixels[0], 77);
}

TEST_F(PanelUpdates, UpdateAndShowPresentTheSelectionInView) {
    screen->windowActive = 1;
    app->song.SoundIdx[0] = 4;
    updatePanel(*app, *screen, PanelId::WaveEditor);
    EXPECT_FALSE(surfaceIsBlack(PanelId::WaveEditor, 4));
    EXPECT_TRUE(surfaceIsBlack(PanelId::WaveEditor, 3));
    const PanelRect rect = panelRect(screen->layout, PanelId::WaveEditor);
    EXPECT_TRUE(pictureShows(panelSurface(*screen, PanelId::WaveEditor, 4), rect));
    app->song.SoundIdx[0] = 3; // not rendered yet: showing presents the black surface
    showPanel(*app, *screen, PanelId::WaveEditor);
    EXPECT_TRUE(pictureShows(panelSurface(*screen, PanelId::WaveEditor, 3), rect));
}

} // namespace

namespace {

// A damaged song (as a hostile file could leave it) through every renderer of the window.
TEST_F(PanelUpdates, DamagedSongRendersEveryPanelSafely) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const int big = std::numeric_limits<int>::max();
    Song& song = app->song;
    song.BPM = nan;
    song.MainVolume[0] = inf;
    song.MainVolume[1] = -inf;
    for (int i = 0; i < kInstrumentCount; ++i) {
        song.Volume[i] = nan;
        song.Oct[i] = big;
        song.BPMsr[i] = -big;
        song.EnvIdx[i] = big;
        song.SoundIdx[i] = -big;
        song.PatternIdx[i] = big;
        for (float& c : song.BGR[i]) c = inf;
        song.Chorus[i].count = big;
        for (int k = 0; k < kEditorChordKeys; ++k) song.Chorus[i].keys[k] = {nan, 1e30f};
        song.EffectDim[i] = {big, -big};
        for (auto& delay : song.DelayParams[i])
            for (float& v : delay) v = 1e30f;
        for (int& e : song.PatternStack[i].entries) e = big;
        for (KnobRecord& knob : song.Effect[i]) knob.value = -inf;
        for (int s = 0; s < kGridSteps; ++s) {
            song.Pan[i][s] = nan;
            song.Vel[i][s] = 1e30f;
            for (int r = 0; r < kNoteRows; ++r) {
                song.noteGrid[i].notePosition[s][r] = r % 3 ? big : 1;
                song.noteGrid[i].nextRow[s][r] = -big;
                song.noteGrid[i].noteLength[s][r] = big;
            }
        }
    }
    for (int b = 0; b < kEnvelopeBankCount; ++b) {
        song.EnvelopeParams[b] = {big, -big, big, 3};
        for (int p = 0; p < kEnvelopePoints; ++p) song.Envelope[b][p] = song.Pitch[b][p] = nan;
    }
    app->stream.volumeLevel = inf;
    app->stream.cpuLoad = nan;
    app->stream.clipped = inf;
    screen->windowActive = 1;
    screen->initialised = 1;
    for (int pass = 0; pass < 2; ++pass) { // the second pass draws over cached backgrounds
        renderAllPanels(*app, *screen);
        presentAllPanels(*app, *screen);
    }
    SUCCEED();
}

} // namespace

namespace {

// The program runs at 4 bytes per pixel, but every panel must draw in the other display depths
// too: same picture, fewer bits.
TEST(PixelDepths, EveryPanelRendersAtTwoThreeAndFourBytes) {
    auto app = newScreenTestApp();
    std::vector<uint8_t> reference;
    for (int bpp : {4, 3, 2}) {
        restartRandom(); // the same metal shading each time
        auto screen = newTestScreen(bpp);
        screen->windowActive = 1;
        renderAllPanels(*app, *screen);
        presentAllPanels(*app, *screen);
        std::vector<uint8_t> rgb(static_cast<size_t>(828) * 573 * 3);
        pictureToRgb(screen->display, rgb.data());
        if (bpp == 4) {
            reference = rgb;
            continue;
        }
        // Three bytes hold the same values as four. 5-6-5 fields keep each channel's top bits
        // (at most 7 below the full value), except where blends read back the coarser values.
        size_t far = 0;
        for (size_t i = 0; i < rgb.size(); ++i)
            far += rgb[i] > reference[i] || reference[i] - rgb[i] > (bpp == 2 ? 7 : 0);
        if (bpp == 3)
            EXPECT_EQ(far, 0u);
        else
            EXPECT_LT(far, rgb.size() / 100);
    }
}

} // namespace
