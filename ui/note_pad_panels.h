// The note pad's envelope preview: how bright each pixel column of a drawn note is.
#pragma once

#include "model/song.h"

// Brightness 0..1 of pixel column `pixelOffset` (0 = the note's first body column) of a note cell
// at position `notePosition` (1-based) within a note of `noteLength` steps, following `curve`
// (the one the envelope editor shows) of the instrument's envelope bank. 75 curve points make a
// step and 3 a pixel; the result is the average of the points the pixel covers.
float notePreviewLevel(const Song& song, int curve, int instrument, int pixelOffset,
                       int notePosition, int noteLength);
