// The straight segment a drag draws into a waveform or an envelope curve.
#include "app/mouse_curve_segment.h"

#include <algorithm>

bool drawCurveSegment(float* curve, int count, CurveSegmentEnd a, CurveSegmentEnd b) {
    const int last = count - 1;
    if ((a.index < 1 && b.index < 1) || (a.index > last && b.index > last)) return false;
    const CurveSegmentEnd left = a.index <= b.index ? a : b;
    const CurveSegmentEnd right = a.index <= b.index ? b : a;
    const float span = static_cast<float>(right.index - left.index);
    const int end = std::min(right.index, count);
    for (int i = std::max(left.index, 0); i < end; ++i) {
        const float weight = static_cast<float>(i - left.index) / span;
        curve[i] = left.value + (right.value - left.value) * weight;
    }
    return true;
}
