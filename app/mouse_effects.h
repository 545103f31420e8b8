// Mouse editing of the effect panels: effect knobs, 2D effect controller and delay/reverb.
#pragma once

struct AppState;

// Effect knobs, panel-local (x, y). A press on a knob starts turning it; a press on its name
// puts it on the 2D controller's x axis and the former x-axis knob on the y axis. Only the
// twelve knobs the panel shows can be hit. True when the press hit a knob or a name.
bool pressEffectKnobs(AppState& app, int x, int y);
// Turns the knob being dragged by the pointer's move from y to py (dragging up raises it) and
// hands the change to the engine.
bool dragEffectKnob(AppState& app, int y, int py);

// 2D effect controller, panel-local (x, y). The left and bottom strips step the y and x axis to
// the next knob; elsewhere the press sets both axis knobs and starts a drag. Knob changes are
// handed to the engine.
bool pressEffectController2D(AppState& app, int x, int y);
bool dragEffectController2D(AppState& app, int x, int y);

// Delay/reverb, panel-local (x, y). A press left of the knobs sets the delay offset of its row
// (and centres its fine tune), a press on a knob column starts turning it. Changes are handed to
// the engine.
bool pressDelayReverb(AppState& app, int x, int y);
// Drags the offset to x, or turns the knob by the move from py to y.
bool dragDelayReverb(AppState& app, int x, int y, int py);

// True when `knob` is one of the current instrument's two 2D controller axes.
bool isEffectAxis(const AppState& app, int knob);
