// Mouse editing of the envelope editor panel: mode and curve buttons, markers, drawing.
#pragma once

struct AppState;

inline constexpr int kEnvelopeDragDrawing = 3; // envelopeDragMode besides the markers 0..2
inline constexpr int kEnvelopeEditedPoints = 300;

// Left press at panel-local (x, y) on the current instrument's envelope bank. Clears
// envelopeAllCurvesDirty first and sets it when the press changed what all four curves show.
// Returns true when the press changed something.
bool pressEnvelopeEditor(AppState& app, int x, int y);

// Move to (x, y) from (px, py), both panel-local, while an envelope editor drag is active.
bool dragEnvelopeEditor(AppState& app, int x, int y, int px, int py);
