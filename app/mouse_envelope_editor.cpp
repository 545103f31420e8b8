// Mouse editing of the envelope editor panel: mode and curve buttons, markers, drawing.
#include "app/mouse_envelope_editor.h"

#include <algorithm>
#include <cstdlib>

#include "app/app_state.h"
#include "app/mouse_curve_segment.h"
#include "tools/current_selection.h"

namespace {

constexpr int kPointLeft = 50;        // panel x of point 0
constexpr int kMarkerGrabPixels = 10; // how near a marker a press in the marker strip must land
constexpr int kLastPoint = kEnvelopeEditedPoints - 1;

int* markerField(EnvelopeSettings& settings, int marker) {
    switch (marker) {
    case 0:
        return &settings.sustainStart;
    case 1:
        return &settings.sustainEnd;
    default:
        return &settings.releaseEnd;
    }
}

// The marker (0 sustainStart, 1 sustainEnd, 2 releaseEnd) nearest to `point` within the grab
// distance, the earlier one on a tie; -1 when none is near.
int nearestMarker(EnvelopeSettings& settings, int point) {
    int nearest = -1;
    long long nearestDistance = kMarkerGrabPixels;
    for (int marker = 0; marker < 3; ++marker) {
        const long long distance =
            std::llabs(static_cast<long long>(*markerField(settings, marker)) - point);
        if (distance < nearestDistance) {
            nearest = marker;
            nearestDistance = distance;
        }
    }
    return nearest;
}

// Moves a marker to the pointer and pushes the others so that
// sustainStart <= sustainEnd <= releaseEnd holds again.
void moveMarker(EnvelopeSettings& settings, int marker, int x) {
    const int point =
        x >= kPointLeft + kEnvelopeEditedPoints ? kLastPoint : std::max(0, x - kPointLeft);
    int& start = settings.sustainStart;
    int& end = settings.sustainEnd;
    int& release = settings.releaseEnd;
    // A song file may hold any values: the markers the drag does not set are kept on the curve too.
    start = std::clamp(start, 0, kLastPoint);
    end = std::clamp(end, 0, kLastPoint);
    release = std::clamp(release, 0, kLastPoint);
    *markerField(settings, marker) = point;
    if (marker == 0) {
        end = std::max(end, start);
        release = std::max(release, start);
    } else if (marker == 1) {
        start = std::min(start, end);
        release = std::max(release, end);
    } else {
        start = std::min(start, release);
        end = std::min(end, release);
    }
}

// The curve value a pointer height asks for: y 15 is 1, y 158 is 0.
float pointValueAt(int y) {
    return std::clamp(static_cast<float>(158 - y) / 143.0f, 0.0f, 1.0f);
}

bool drawEnvelope(AppState& app, int bank, int x, int y, int px, int py) {
    float* curve = envelopeCurveOf(app.song, envelopeBankOf(app.song, app.ui.currentInstrument),
                                   app.ui.envelopeCurve);
    if (curve == nullptr) return false;
    const CurveSegmentEnd from{px - kPointLeft, pointValueAt(py)};
    const CurveSegmentEnd to{x - kPointLeft, pointValueAt(y)};
    if (!drawCurveSegment(curve, kEnvelopeEditedPoints, from, to)) return false;
    // The guard point the engine reads past the end: silence, and no pitch jump.
    app.song.Envelope[bank][kEnvelopeEditedPoints] = 0.0f;
    app.song.Pitch[bank][kEnvelopeEditedPoints] = app.song.Pitch[bank][kLastPoint];
    return true;
}

bool applyEnvelopeDrag(AppState& app, int bank, int x, int y, int px, int py) {
    const int mode = app.drag.envelopeDragMode;
    if (mode >= 0 && mode <= 2) {
        moveMarker(app.song.EnvelopeParams[bank], mode, x);
        return true;
    }
    if (mode == kEnvelopeDragDrawing) return drawEnvelope(app, bank, x, y, px, py);
    return false;
}

} // namespace

bool pressEnvelopeEditor(AppState& app, int x, int y) {
    DragState& drag = app.drag;
    drag.envelopeAllCurvesDirty = 0;
    if (x < 0 || x > 353 || y < 0 || y > 161) return false;
    const int bank = envelopeBankOf(app.song, app.ui.currentInstrument);
    if (bank < 0) return false;
    if (x < 46 && y < 13) { // the stretched and looped buttons
        app.song.EnvelopeParams[bank].envelopeMode = x <= 22 ? 1 : 0;
        drag.envelopeAllCurvesDirty = 1;
        return true;
    }
    if (x < 46 && y > 13) { // the four curve buttons
        app.ui.envelopeCurve = (y - 13) / 38;
        return true;
    }
    if (x >= kPointLeft && x < kPointLeft + kEnvelopeEditedPoints && y <= 10) {
        const int marker = nearestMarker(app.song.EnvelopeParams[bank], x - kPointLeft);
        if (marker < 0) return false;
        drag.envelopeDragMode = marker;
    } else if (x > 45 && x < 354 && y > 10 && y < 162) {
        drag.envelopeDragMode = kEnvelopeDragDrawing;
    } else {
        return false;
    }
    // The press is where the pointer already was: a click draws nothing.
    applyEnvelopeDrag(app, bank, x, y, x, y);
    return true;
}

bool dragEnvelopeEditor(AppState& app, int x, int y, int px, int py) {
    const int bank = envelopeBankOf(app.song, app.ui.currentInstrument);
    if (bank < 0) return false;
    return applyEnvelopeDrag(app, bank, x, y, px, py);
}
