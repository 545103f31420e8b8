// The panels of the window, each described once: its rectangle, its surfaces and canvases, its
// renderer, its redraw rules and its hover help.
#pragma once

#include "ui/panel_inputs.h"
#include "ui/panel_layout.h"

struct Screen;

// What one surface of a panel shows: the panel keeps one surface per selection, so that
// switching the selection only presents a surface already rendered.
enum class SurfaceSet {
    Single,           // one surface
    PerInstrument,    // one per instrument
    PerWaveform,      // one per waveform slot
    PerEnvelopeCurve, // one per envelope bank and curve: bank x 4 + curve
};

struct PanelSpec {
    PanelId id;
    PanelRect rect; // in client pixels, from the placement rules (ui/panel_layout.h)
    SurfaceSet surfaces;
    int canvases; // 1, or one per instrument for a canvas that keeps pixels between renderings
    // Fills the panel's canvas for a selection (a surface index within range).
    void (*render)(const PanelInputs& in, Screen& screen, int selection);
    bool fullRender;        // part of the full render of start-up and File > Open
    bool pumpAfterPresent;  // the full present runs the pump after presenting it
    bool followsInstrument; // shows the current instrument: redrawn when another becomes current
    const char* help;       // hover help line, nullptr for none (or curveHelp)
    const char* const* curveHelp; // four hover help lines, one per curve shown, or nullptr
    // Place (1, 2, ...) in the redraw after an edit of the current envelope curve, and in the one
    // after an edit of the current waveform slot; 0 for a panel that neither redraw includes.
    int envelopeEditPlace = 0;
    int waveformEditPlace = 0;
};

// Every panel once, in the order of the full render, the full present, the instrument switch
// redraw and the hover help (panels do not overlap, so the hover help's order decides nothing).
extern const PanelSpec kPanels[kPanelCount];

const PanelSpec& panelSpec(PanelId id);

// Surfaces kept of a panel: one per selection of its SurfaceSet.
int panelSurfaceCount(PanelId id);
// Canvases of a panel: one per instrument for the 2D effect controller, else one.
int panelCanvasCount(PanelId id);

// The hover help line of a panel for the curve the envelope editor shows; nullptr for none.
const char* panelHelpText(const PanelSpec& spec, int envelopeCurve);
