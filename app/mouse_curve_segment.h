// The straight segment a drag draws into a waveform or an envelope curve.
#pragma once

// One end of a drawn segment: the curve index under the pointer and the value it asks for.
struct CurveSegmentEnd {
    int index; // may lie outside the curve: the pointer can leave the panel while drawing
    float value;
};

// Draws the segment between two pointer positions into `curve` (count values): every index
// from the left end up to, not including, the right end that lies within 0..count-1 gets the
// value interpolated between the two ends. A segment whose ends both lie before index 1, or
// both after index count-1, misses the curve: nothing is drawn and false is returned. A segment
// whose ends lie on both sides of the curve is drawn across all of it.
bool drawCurveSegment(float* curve, int count, CurveSegmentEnd a, CurveSegmentEnd b);
