// Screen: the process-wide rendering record that lives beside the application record for the life
// of the program: the display and its window picture, the panel rectangles, canvases and surfaces,
// the playback marker, the glyph atlases and the metal shading.
#pragma once

#include <vector>

#include "ui/display.h"
#include "ui/drawing.h"
#include "ui/glyphs.h"
#include "ui/panel_canvas.h"
#include "ui/panel_layout.h"

// One panel's pixels: its canvas(es) and one surface per selection.
struct PanelBuffers {
    std::vector<PanelCanvas> canvases;  // panelCanvasCount(id)
    std::vector<PanelSurface> surfaces; // panelSurfaceCount(id)
};

// The values the meters were last rendered from: equal values render identical pixels, so the
// pump re-renders a meter only when its own differ.
struct MeterLook {
    float needle = -1.0f;   // volume meter: needle position 0..1, -1 before the first rendering
    float flashRed = -1.0f; // volume meter: red of the clip flash 0..150, -1 without flash
    int cpuUnlitRows = -1;  // CPU meter: unlit rows 0..46, -1 before the first rendering
};

struct Screen {
    int windowActive = 0; // 1 while the main window is the active window; presents need it
    int initialised = 0;  // 1 once start-up has finished; the pump redraws panels only then
    Display display;      // pixel format and the 828 x 573 window picture
    PanelLayout layout;   // rectangles, computed once
    PanelBuffers panels[kPanelCount];
    PanelCanvas markerCanvas; // the 20 x 5 playback marker glow
    PanelSurface markerSurface;
    GlyphAtlases glyphs;
    MetalNoise metalNoise;
    MeterLook meterLook;
};

// Start-up of the rendering subsystem: display, layout, canvases and surfaces (in the panels'
// start-up order), the playback marker, the glyph atlases and the metal shading. Returns false
// when the glyph atlases cannot be loaded (the program cannot start without them).
bool initScreen(Screen& screen, int bytesPerPixel);

// The canvas a panel renders into (`index` selects the instrument's canvas of the 2D effect
// controller; the other panels have only canvas 0).
PanelCanvas& panelCanvas(Screen& screen, PanelId id, int index = 0);
// The surface of a selection (waveform, bank x 4 + curve, instrument, or 0).
PanelSurface& panelSurface(Screen& screen, PanelId id, int selection);
