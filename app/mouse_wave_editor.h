// Mouse editing of the wave editor panel: the MIX/HIGH/NOISE sliders, drawing, loop markers.
#pragma once

struct AppState;

inline constexpr int kWaveDragDrawing = 3; // waveDragMode values besides the slider indices 0..2
inline constexpr int kWaveDragLoopStart = 4;
inline constexpr int kWaveDragLoopEnd = 5;

// Left press at panel-local (x, y) on the current instrument's waveform: picks the drag mode
// and applies it at the press position. Returns true when the press changed something.
bool pressWaveEditor(AppState& app, int x, int y);

// Move to (x, y) from the previous pointer position (px, py), both panel-local, while a wave
// editor drag is active. Returns true when something changed.
bool dragWaveEditor(AppState& app, int x, int y, int px, int py);

// The waveform slot before `slot`, whose MIX blends `slot` in.
inline int previousWaveformSlot(int slot) {
    return (slot + 7) % 8;
}
