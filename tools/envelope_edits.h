// Whole-curve edits of an envelope curve: Average and Step.
#pragma once

#include "model/song.h"

// Smooths points 1..299 of curve `curve` of envelope bank `bank`: each becomes the mean of the
// 2 radius + 1 old points around it, the ends repeating points 0 and 299 (radius 2 from the
// key). Points 0 and 300 keep their values. A negative radius or a bad index does nothing.
void averageEnvelope(Song& song, int bank, int curve, int radius);

// Moves each of points 1..299 of the curve halfway toward the nearest sixteenth (a point exactly
// between two sixteenths moves down). Points 0 and 300 keep their values.
void stepEnvelope(Song& song, int bank, int curve);
