// Smoothing and quantising of an envelope curve.
#include "tools/envelope_edits.h"

#include <algorithm>
#include <cmath>

#include "tools/current_selection.h"

namespace {

constexpr int kLastEditedPoint = kEnvelopePoints - 2; // 299; point 300 is the guard

} // namespace

void averageEnvelope(Song& song, int bank, int curveIndex, int radius) {
    float* curve = envelopeCurveOf(song, bank, curveIndex);
    if (!curve || radius < 0) return;
    float means[kEnvelopePoints - 1];
    for (int i = 0; i <= kLastEditedPoint; ++i) {
        double sum = 0.0;
        for (int d = -radius; d <= radius; ++d)
            sum += curve[std::clamp(i + d, 0, kLastEditedPoint)];
        means[i] = static_cast<float>(sum / (2 * radius + 1));
    }
    for (int i = 1; i <= kLastEditedPoint; ++i) curve[i] = means[i];
}

void stepEnvelope(Song& song, int bank, int curveIndex) {
    float* curve = envelopeCurveOf(song, bank, curveIndex);
    if (!curve) return;
    for (int i = 1; i <= kLastEditedPoint; ++i) {
        const double a = curve[i] * 16.0;
        const double d = a - std::trunc(a);
        const double moved = d > 0.5 ? a + (1.0 - d) * 0.5 : a - d * 0.5;
        curve[i] = static_cast<float>(moved * 0.0625);
    }
}
