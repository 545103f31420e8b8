// Envelope evaluation: plain, released, stretched and looped sustain of an envelope bank.
#include "engine/envelope.h"

#include "base/safe_convert.h"

namespace {

constexpr int kPointsPerStep = 75;
constexpr int kLastPoint = kEnvelopePoints - 1; // the guard point 300
constexpr int kLastEditedPoint = kEnvelopePoints - 2;

// The requested curves of one bank, in the order of EnvelopeReading.
struct CurveSet {
    const float* curve[3];
    int count;
};

CurveSet curvesOf(const Song& song, int bank, bool pitchOnly) {
    if (pitchOnly) return {{song.Pitch[bank], nullptr, nullptr}, 1};
    return {{song.Envelope[bank], song.Cutoff[bank], song.Ratio[bank]}, 3};
}

int pointIndex(int m) {
    return clampInt(m, 0, kLastPoint);
}

// Next evaluation sample: trunc(span) + c + 1, kept inside the int range.
int nextEvaluationAfter(double span, int c) {
    long long next = static_cast<long long>(truncToInt(span)) + c + 1;
    return next > INT_MAX ? INT_MAX : static_cast<int>(next);
}

// Linear interpolation between points m and m+1 at point position x, moving by `pointLength`
// samples per point.
void interpolate(const CurveSet& curves, double x, double pointLength, int c,
                 EnvelopeReading& out) {
    int m = truncToInt(x);
    double f = x - m;
    const int a = pointIndex(m), b = pointIndex(m < kLastPoint ? m + 1 : kLastPoint);
    for (int n = 0; n < curves.count; ++n) {
        const float* curve = curves.curve[n];
        out.value[n] = static_cast<float>(curve[a] * (1.0 - f) + curve[b] * f);
        out.slope[n] = static_cast<float>((curve[b] - curve[a]) / pointLength);
    }
    out.nextEvaluation = nextEvaluationAfter(pointLength * (1.0 - f), c);
}

void holdPoint(const CurveSet& curves, int point, EnvelopeReading& out) {
    for (int n = 0; n < curves.count; ++n) {
        out.value[n] = curves.curve[n][point];
        out.slope[n] = 0.0f;
    }
}

// Looped sustain: points ss..se repeat, each lasting one point length; the last period before
// the release heads for point se.
void loopSustain(const CurveSet& curves, int ss, int se, double sustainStart, double releaseStart,
                 float pointLength, int c, EnvelopeReading& out) {
    double y = (c - sustainStart) / pointLength;
    long long i = static_cast<long long>(truncToInt(y));
    double f = y - i;
    int period = se - ss + 1;
    int current = ss + wrapIndex(i, period);
    int next = c + pointLength >= releaseStart ? se : ss + wrapIndex(i + 1, period);
    for (int n = 0; n < curves.count; ++n) {
        const float* curve = curves.curve[n];
        out.value[n] = static_cast<float>(curve[current] * (1.0 - f) + curve[next] * f);
        out.slope[n] = (curve[next] - curve[current]) / pointLength;
    }
    out.nextEvaluation = nextEvaluationAfter(pointLength * (1.0 - f), c);
}

} // namespace

EnvelopeReading evaluateEnvelope(const Song& song, int chunkFrames, int instrument, int k, int c,
                                 int len, bool pitchOnly) {
    const int frames = chunkFrames > 0 ? chunkFrames : 1;
    const int bank = clampInt(song.EnvIdx[clampInt(instrument, 0, kInstrumentCount - 1)], 0,
                              kEnvelopeBankCount - 1);
    const EnvelopeSettings& params = song.EnvelopeParams[bank];
    // A damaged song may hold any point numbers: keep them on the edited points, in order.
    const int ss = clampInt(params.sustainStart, 0, kLastEditedPoint);
    const int se = clampInt(params.sustainEnd, ss, kLastEditedPoint);
    const int end = clampInt(params.releaseEnd, 0, kLastEditedPoint);
    const CurveSet curves = curvesOf(song, bank, pitchOnly);
    // One point lasts l samples, computed in single precision; 75 points make one step.
    const float pointLength = frames * 4 * 0.0033333334f;

    EnvelopeReading out{};
    const double x = (static_cast<double>(c) / frames + k) * kPointsPerStep;
    const double noteSpan = static_cast<double>(len) * kPointsPerStep;
    if (truncToInt(x) < ss || end + 1 >= truncToInt(noteSpan)) {
        interpolate(curves, x, pointLength, c, out);
        return out;
    }
    // Held note: the tail se..end is played so that it ends with the note.
    const double releaseStart = static_cast<double>(frames) * len - pointLength * (end - se + 1) -
                                static_cast<double>(k) * frames;
    const double sustainStart =
        static_cast<double>(pointLength) * ss - static_cast<double>(k) * frames;
    if (c >= truncToInt(releaseStart)) {
        interpolate(curves, (c - releaseStart) / pointLength + se, pointLength, c, out);
        return out;
    }
    if (params.envelopeMode != 0 && params.envelopeMode != 1) {
        out.nextEvaluation = 0; // silent sustain
        return out;
    }
    if (ss == se) {
        // Both modes hold the single sustain point; evaluate again where the release begins.
        holdPoint(curves, ss, out);
        const int release = truncToInt(releaseStart);
        out.nextEvaluation = release > c ? release : frames;
        return out;
    }
    if (params.envelopeMode == 1) {
        const double stretched = (releaseStart - sustainStart) / (se - ss);
        interpolate(curves, (c - sustainStart) / stretched + ss, stretched, c, out);
        return out;
    }
    loopSustain(curves, ss, se, sustainStart, releaseStart, pointLength, c, out);
    return out;
}
