// Panel updates without the audio pump: render a panel into the surface of a selection, put a
// surface on the window, the help line and the playback marker. The redraws that pump between
// presents are in app/panel_redraw.h.
#pragma once

#include "ui/panel_inputs.h"
#include "ui/screen.h"

// The surface in view of a panel: the current instrument's waveform for the wave editor, its
// bank x 4 + envelopeCurve for the envelope editor, the current instrument for the per-instrument
// panels, else 0.
int selectionInView(const Song& song, const UiState& ui, PanelId id);

// The panel's renderer fills its canvas for the selection (brought within the panel's surfaces),
// which is then copied into that selection's surface. The help line renders empty; the step
// strip is cleared.
void renderPanelSurface(const PanelInputs& in, Screen& screen, PanelId id, int selection);

// Blits a surface to the window at the rectangle if the window is active; returns whether it
// did.
bool presentSurface(Screen& screen, const PanelSurface& surface, const PanelRect& rect);

// Renders and presents the help line with the given text.
void showHelpLineText(const UiState& ui, Screen& screen, const char* text);

// Fills the 20 x 5 marker canvas with the red glow (brightest in the middle) and copies it to
// the marker surface.
void drawGlowBar(Screen& screen);
// Where the marker centred on column x lands on the step strip: max(0, x - 10) to
// min(stripWidth, x + 10), rows 0..5.
PanelRect playbackMarkerRect(int markerX, int stripWidth);
// Clears the step strip, blits the marker centred on markerX into it and presents the strip.
void showPlaybackMarker(Screen& screen, float markerX);
