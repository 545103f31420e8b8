// Panel redraws of the program: render a panel from the AppState, present surfaces with the
// audio pump after each, the full render and present of start-up and File > Open, and the pump
// with the redraws it asks for.
#pragma once

#include "app/app_state.h"
#include "ui/panel_inputs.h"
#include "ui/screen.h"

// What the panels read of the AppState, with the engine's, stream's and recorder's readings
// copied as values.
PanelInputs panelInputs(const AppState& app);

// R (render only): renders the selection of the panel into its surface (ui/panel_update.h). The
// volume meter's clip flash fades with each rendering.
void renderPanel(AppState& app, Screen& screen, PanelId id, int selection);

// Blits a surface to the window at the rectangle if the window is active; then, if pumpAfter,
// runs the pump once (pumpAndRedraw). While the window is inactive it neither draws nor pumps.
void presentPanel(AppState& app, Screen& screen, const PanelSurface& surface, const PanelRect& rect,
                  bool pumpAfter);

// P: presents the panel's surface in view, then pumps.
void showPanel(AppState& app, Screen& screen, PanelId id);
// R+P: renders the selection in view and presents it, then pumps.
void updatePanel(AppState& app, Screen& screen, PanelId id);

// After another instrument became the current one: every panel that follows the instrument is
// presented (a panel with a surface per selection) or re-rendered (one with a single surface).
void redrawInstrumentSwitch(AppState& app, Screen& screen);

// After an edit of the current envelope bank: the envelope editor, its buttons and the note pad
// (which draws the curve in view) are re-rendered and presented, in the order of their
// envelopeEditPlace in the panel table.
void redrawEnvelope(AppState& app, Screen& screen);
// After an edit of the current waveform: the wave editor and the wave buttons (waveformEditPlace).
void redrawWaveform(AppState& app, Screen& screen);

// Renders every canvas into every surface of the panels of the full render (all waveforms, all
// envelope banks and curves, all instruments) without presenting; the step strip is cleared.
void renderAllPanels(AppState& app, Screen& screen);
// Presents the surface in view of every panel, each followed by a pump where the panel table
// says so (the step strip and the help line surface as it stands go without). The caller
// redraws the hover help for no pointer position afterwards.
void presentAllPanels(AppState& app, Screen& screen);

// The program's pump: runs the audio pump once and then carries out the redraws it asked for
// (playback marker, note bank sequencer, play/stop/record, and the volume and CPU meters when
// their pixels would change).
void pumpAndRedraw(AppState& app, Screen& screen);
