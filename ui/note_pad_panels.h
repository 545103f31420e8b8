// The note pad's envelope preview: how bright each pixel column of a drawn note is.
#pragma once

#include "app/app_state.h"

// Brightness 0..1 of pixel column `pixelOffset` (0 = the note's first body column) of a note cell
// at position `notePosition` (1-based) within a note of `noteLength` steps, following the curve
// the envelope editor shows (`envelopeCurve`) of the instrument's envelope bank. 75 curve points
// make a step and 3 a pixel; the result is the average of the points the pixel covers.
float notePreviewLevel(const AppState& app, int instrument, int pixelOffset, int notePosition,
                       int noteLength);
