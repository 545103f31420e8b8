// Panel rectangles, surfaces per selection and the screen's start-up.
#include "ui/panel_layout.h"
#include "ui/panel_table.h"

#include <vector>

#include "screen_test_support.h"

namespace {

struct Expected {
    PanelId id;
    PanelRect rect;
};

// The layout table of the window, written out by hand.
const Expected kTable[kPanelCount] = {
    {PanelId::NoteBankButtons, {19, 6, 331, 29}},
    {PanelId::helpLine, {339, 6, 824, 23}},
    {PanelId::stepStrip, {19, 29, 428, 34}},
    {PanelId::NotePad, {19, 34, 428, 235}},
    {PanelId::VolumeMeter, {436, 29, 519, 99}},
    {PanelId::EffectController2D, {527, 29, 728, 230}},
    {PanelId::EffectKnobs, {736, 29, 824, 253}},
    {PanelId::MainVolumeControl, {436, 99, 519, 230}},
    {PanelId::DelayReverb, {436, 233, 724, 323}},
    {PanelId::DelayDisplay, {436, 323, 813, 373}},
    {PanelId::CpuMeter, {736, 256, 763, 319}},
    {PanelId::PanAndVelocity, {8, 235, 428, 281}},
    {PanelId::NoteBankSequencer, {8, 281, 215, 373}},
    {PanelId::InstrumentButton, {223, 281, 427, 304}},
    {PanelId::InstrumentControl, {223, 304, 427, 373}},
    {PanelId::ChordKeys, {461, 376, 819, 414}},
    {PanelId::WaveButtons, {461, 414, 813, 437}},
    {PanelId::WaveEditor, {421, 437, 820, 565}},
    {PanelId::EnvelopeButtons, {54, 379, 358, 402}},
    {PanelId::EnvelopeEditor, {8, 402, 362, 565}},
    {PanelId::BpmDisplay, {368, 377, 451, 408}},
    {PanelId::PlayStopRecord, {368, 411, 414, 565}},
};

TEST(PanelLayout, ComputedRectanglesMatchTheTable) {
    PanelLayout layout;
    layoutPanels(layout);
    for (const Expected& e : kTable) {
        const PanelRect& r = panelRect(layout, e.id);
        EXPECT_EQ(r.left, e.rect.left) << static_cast<int>(e.id);
        EXPECT_EQ(r.top, e.rect.top) << static_cast<int>(e.id);
        EXPECT_EQ(r.right, e.rect.right) << static_cast<int>(e.id);
        EXPECT_EQ(r.bottom, e.rect.bottom) << static_cast<int>(e.id);
    }
}

TEST(PanelLayout, PanelsStayInsideTheWindowAndDoNotOverlap) {
    PanelLayout layout;
    layoutPanels(layout);
    for (int a = 0; a < kPanelCount; ++a) {
        const PanelRect& r = layout.rects[a];
        EXPECT_GE(r.left, 0);
        EXPECT_GE(r.top, 0);
        EXPECT_LE(r.right, 828);
        EXPECT_LE(r.bottom, 573);
        for (int b = a + 1; b < kPanelCount; ++b) {
            const PanelRect& o = layout.rects[b];
            const bool overlap =
                r.left < o.right && o.left < r.right && r.top < o.bottom && o.top < r.bottom;
            EXPECT_FALSE(overlap) << a << " and " << b;
        }
    }
}

TEST(PanelTable, DescribesEveryPanelOnce) {
    int entries[kPanelCount] = {};
    for (const PanelSpec& spec : kPanels) {
        ++entries[static_cast<int>(spec.id)];
        EXPECT_EQ(&panelSpec(spec.id), &spec);
        ASSERT_NE(spec.render, nullptr);
        // A canvas per instrument belongs to a surface per instrument.
        if (spec.canvases > 1) {
            EXPECT_EQ(spec.surfaces, SurfaceSet::PerInstrument);
        }
    }
    for (int count : entries) EXPECT_EQ(count, 1);
    // Only the help line, whose text comes from the hover help, is left out of the full render.
    for (const PanelSpec& spec : kPanels) EXPECT_EQ(spec.fullRender, spec.id != PanelId::helpLine);
    EXPECT_STREQ(panelHelpText(panelSpec(PanelId::EnvelopeEditor), kCurvePitch),
                 "ENVELOPE EDITOR:  PITCH ENVELOPE  <F> STEP ENVELOPE  <Z X C V> SWITCH CURVE ");
    EXPECT_EQ(panelHelpText(panelSpec(PanelId::EnvelopeEditor), 9),
              panelHelpText(panelSpec(PanelId::EnvelopeEditor), kCurveAmplitude));
    EXPECT_EQ(panelHelpText(panelSpec(PanelId::stepStrip), 0), nullptr);
}

// The panels a redraw after an edit takes, in the order the table's places give them.
std::vector<PanelId> panelsInPlaceOrder(int PanelSpec::*place) {
    std::vector<PanelId> ordered(kPanelCount, PanelId::helpLine);
    int count = 0;
    for (const PanelSpec& spec : kPanels) {
        const int at = spec.*place;
        if (at == 0) continue;
        EXPECT_TRUE(at >= 1 && at <= kPanelCount) << "place " << at;
        if (at < 1 || at > kPanelCount) continue;
        EXPECT_EQ(ordered[at - 1], PanelId::helpLine) << "place " << at << " taken twice";
        ordered[at - 1] = spec.id;
        ++count;
    }
    ordered.resize(count); // places run 1..count without a gap
    return ordered;
}

TEST(PanelTable, EditRedrawsTakeThePanelsShowingTheEditInTheirOrder) {
    EXPECT_EQ(panelsInPlaceOrder(&PanelSpec::envelopeEditPlace),
              (std::vector<PanelId>{PanelId::EnvelopeEditor, PanelId::EnvelopeButtons,
                                    PanelId::NotePad}));
    EXPECT_EQ(panelsInPlaceOrder(&PanelSpec::waveformEditPlace),
              (std::vector<PanelId>{PanelId::WaveEditor, PanelId::WaveButtons}));
}

TEST(Screen, EveryPanelGetsItsCanvasesAndSurfaces) {
    auto screen = newTestScreen();
    int surfaces = 0;
    for (const Expected& e : kTable) {
        const PanelBuffers& panel = screen->panels[static_cast<int>(e.id)];
        ASSERT_EQ(static_cast<int>(panel.surfaces.size()), panelSurfaceCount(e.id));
        ASSERT_EQ(static_cast<int>(panel.canvases.size()), panelCanvasCount(e.id));
        for (const PanelCanvas& canvas : panel.canvases) {
            EXPECT_EQ(canvas.width, rectWidth(e.rect));
            EXPECT_EQ(canvas.height, rectHeight(e.rect));
            EXPECT_EQ(canvas.backgroundCached, 0);
        }
        for (const PanelSurface& surface : panel.surfaces) {
            EXPECT_EQ(surface.width, rectWidth(e.rect));
            EXPECT_GE(surface.pitch, surface.width * 4);
        }
        surfaces += static_cast<int>(panel.surfaces.size());
    }
    EXPECT_EQ(panelSurfaceCount(PanelId::WaveEditor), 8);
    EXPECT_EQ(panelSurfaceCount(PanelId::EnvelopeEditor), 32);
    EXPECT_EQ(panelCanvasCount(PanelId::EffectController2D), 4);
    EXPECT_EQ(surfaces, 8 + 32 + 5 * 4 + 15);
    EXPECT_EQ(screen->display.picture.width, 828);
    EXPECT_EQ(screen->display.picture.height, 573);
    EXPECT_EQ(screen->windowActive, 0);
    EXPECT_EQ(screen->initialised, 0);
}

TEST(Screen, CanvasCopiesHonourThePitchAndRefuseOtherShapes) {
    PanelCanvas canvas = blankCanvas(3, 2, 3); // 9 bytes a row; the surface pads to 12
    PanelSurface surface;
    createSurface(surface, 3, 2, 3);
    ASSERT_EQ(surface.pitch, 12);
    setPixel(canvas, 1, 2, 7, 8, 9);
    copyCanvasToSurface(canvas, surface);
    EXPECT_EQ(surface.pixels[12 + 6], 9); // row 1, column 2, blue
    EXPECT_EQ(surface.pixels[12 + 8], 7); // red

    PanelCanvas back = blankCanvas(3, 2, 3);
    copySurfaceToCanvas(back, surface);
    EXPECT_EQ(back.pixels, canvas.pixels);

    PanelSurface other;
    createSurface(other, 4, 2, 3);
    copyCanvasToSurface(canvas, other); // another size: nothing copied
    for (uint8_t byte : other.pixels) EXPECT_EQ(byte, 0);
}

TEST(Screen, BlitsStretchAndClip) {
    PanelSurface source;
    createSurface(source, 2, 1, 4);
    source.pixels[2] = 100; // left pixel red
    source.pixels[4 + 2] = 200;
    PanelSurface target;
    createSurface(target, 4, 2, 4);
    blitSurface(source, target, {0, 0, 4, 1}); // doubled
    EXPECT_EQ(target.pixels[2], 100);
    EXPECT_EQ(target.pixels[4 + 2], 100);
    EXPECT_EQ(target.pixels[8 + 2], 200);
    EXPECT_EQ(target.pixels[12 + 2], 200);
    blitSurface(source, target, {3, 1, 5, 2}); // half outside
    EXPECT_EQ(target.pixels[16 + 12 + 2], 100);
    blitSurface(source, target, {-10, -10, -8, -9}); // wholly outside
    blitSurface(source, target, {2, 0, 2, 1});       // empty
}

} // namespace
