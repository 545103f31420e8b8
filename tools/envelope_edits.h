// Whole-curve edits of the envelope curve in view: Average and Step.
#pragma once

struct AppState;

// Smooths points 1..299 of the shown curve: each becomes the mean of the 2 radius + 1 old
// points around it, the ends repeating points 0 and 299 (radius 2 from the key). Points 0 and
// 300 keep their values. A negative radius does nothing.
void averageEnvelope(AppState& app, int radius);

// Moves each of points 1..299 of the shown curve halfway toward the nearest sixteenth (a point
// exactly between two sixteenths moves down). Points 0 and 300 keep their values.
void stepEnvelope(AppState& app);
