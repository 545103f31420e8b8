// Panel updates: render a panel into the surface of a selection, present surfaces to the window,
// the full render and present of start-up and File > Open, the playback marker, and the audio
// pump with the redraws it asks for.
#pragma once

#include "app/app_state.h"
#include "ui/screen.h"

// The surface in view of a panel: the current instrument's waveform for the wave editor, its
// bank x 4 + envelopeCurve for the envelope editor, the current instrument for the per-instrument
// panels, else 0.
int selectionInView(const AppState& app, PanelId id);

// R (render only): the panel's renderer fills its canvas for the selection, which is then copied
// into that selection's surface. The help line renders empty; the step strip is cleared.
void renderPanel(AppState& app, Screen& screen, PanelId id, int selection);

// Blits a surface to the window at the rectangle if the window is active; then, if pumpAfter,
// runs the pump once (pumpAndRedraw). While the window is inactive it neither draws nor pumps.
void presentPanel(AppState& app, Screen& screen, const PanelSurface& surface, const PanelRect& rect,
                  bool pumpAfter);

// P: presents the panel's surface in view, then pumps.
void showPanel(AppState& app, Screen& screen, PanelId id);
// R+P: renders the selection in view and presents it, then pumps.
void updatePanel(AppState& app, Screen& screen, PanelId id);

// After another instrument became the current one: presents its surfaces of the per-instrument
// panels and re-renders the panels that show the current instrument on a single surface.
void redrawInstrumentSwitch(AppState& app, Screen& screen);

// After an edit of the current envelope bank: the envelope editor, its buttons and the note pad
// (which draws the curve in view) are re-rendered and presented.
void redrawEnvelope(AppState& app, Screen& screen);
// After an edit of the current waveform: the wave editor and the wave buttons.
void redrawWaveform(AppState& app, Screen& screen);

// Renders and presents the help line with the given text, without pumping.
void showHelpLineText(AppState& app, Screen& screen, const char* text);

// Renders every canvas into every surface of its panel (all waveforms, all envelope banks and
// curves, all instruments) without presenting; the step strip is cleared.
void renderAllPanels(AppState& app, Screen& screen);
// Presents the surface in view of every panel, each followed by a pump, then the step strip
// (without pump) and the help line surface as it stands. The caller redraws the hover help for
// no pointer position afterwards.
void presentAllPanels(AppState& app, Screen& screen);

// Fills the 20 x 5 marker canvas with the red glow (brightest in the middle) and copies it to
// the marker surface.
void drawGlowBar(Screen& screen);
// Where the marker centred on column x lands on the step strip: max(0, x - 10) to
// min(stripWidth, x + 10), rows 0..5.
PanelRect playbackMarkerRect(int markerX, int stripWidth);
// Clears the step strip, blits the marker centred on markerX into it and presents the strip
// without pumping.
void showPlaybackMarker(AppState& app, Screen& screen, float markerX);

// The program's pump: runs the audio pump once and then carries out the redraws it asked for
// (playback marker, note bank sequencer, play/stop/record, and the volume and CPU meters when
// their pixels would change).
void pumpAndRedraw(AppState& app, Screen& screen);
