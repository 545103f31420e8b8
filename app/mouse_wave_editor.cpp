// Mouse editing of the wave editor panel: the MIX/HIGH/NOISE sliders, drawing, loop markers.
#include "app/mouse_wave_editor.h"

#include <algorithm>
#include <cstdlib>

#include "app/app_state.h"
#include "app/mouse_curve_segment.h"
#include "app/playback.h"
#include "tools/current_selection.h"

namespace {

constexpr int kSampleLeft = 44;       // panel x of sample 0
constexpr float kSliderPixels = 120;  // a slider's travel over its 0..1 range
constexpr int kMarkerGrabPixels = 15; // how near a loop marker a press must land to grab it

// The sample value a pointer height asks for: the top of the plot is -127, the bottom 125.
float sampleValueAt(int y) {
    return std::clamp(static_cast<float>(y - 4) * 256.0f / 120.0f - 128.0f, -127.0f, 125.0f);
}

// A press on an imported sound near one of its loop markers grabs the nearer one.
void grabLoopMarker(DragState& drag, const LoopMarkers& loop, int x) {
    const long long startDistance =
        std::llabs(static_cast<long long>(x) - loop.loopStart - kSampleLeft);
    const long long endDistance =
        std::llabs(static_cast<long long>(x) - loop.loopEnd - kSampleLeft);
    if (startDistance < kMarkerGrabPixels && startDistance < endDistance)
        drag.waveDragMode = kWaveDragLoopStart;
    else if (endDistance < kMarkerGrabPixels)
        drag.waveDragMode = kWaveDragLoopEnd;
}

// Loop markers keep 0 <= loopStart < loopEnd <= 350, whatever a song file stored.
void moveLoopStart(LoopMarkers& loop, int x) {
    loop.loopStart = std::clamp(x - kSampleLeft, 0, kWaveformSamples - 1);
    loop.loopEnd = std::clamp(loop.loopEnd, 1, kWaveformSamples);
    if (loop.loopEnd - 1 < loop.loopStart) loop.loopEnd = loop.loopStart + 1;
}

void moveLoopEnd(LoopMarkers& loop, int x) {
    loop.loopEnd = std::clamp(x - kSampleLeft, 1, kWaveformSamples);
    loop.loopStart = std::clamp(loop.loopStart, 0, kWaveformSamples - 1);
    if (loop.loopEnd - 1 < loop.loopStart) loop.loopStart = loop.loopEnd - 1;
}

// Applies the drag mode for a pointer at (x, y) coming from (px, py).
bool applyWaveDrag(AppState& app, int slot, int x, int y, int px, int py) {
    Song& song = app.song;
    const int mode = app.drag.waveDragMode;
    if (mode >= kKnobMix && mode <= kKnobNoise) {
        float& value = song.SoundEffect[slot][mode].value;
        value = std::clamp(value - static_cast<float>(y - py) / kSliderPixels, 0.0f, 1.0f);
    } else if (mode == kWaveDragDrawing) {
        const CurveSegmentEnd from{px - kSampleLeft, sampleValueAt(py)};
        const CurveSegmentEnd to{x - kSampleLeft, sampleValueAt(y)};
        if (!drawCurveSegment(song.Sound[slot], kWaveformSamples, from, to)) return false;
        rebuildPlaybackWaveform(app, previousWaveformSlot(slot));
    } else if (mode == kWaveDragLoopStart) {
        moveLoopStart(song.SoundFileLoop[slot], x);
    } else if (mode == kWaveDragLoopEnd) {
        moveLoopEnd(song.SoundFileLoop[slot], x);
    }
    rebuildPlaybackWaveform(app, slot);
    return true;
}

} // namespace

bool pressWaveEditor(AppState& app, int x, int y) {
    if (x < 4 || x > 397 || y < 0 || y > 127) return false;
    const int slot = waveformSlotOf(app.song, app.ui.currentInstrument);
    if (slot < 0) return false;
    DragState& drag = app.drag;
    if (x >= 40) drag.waveDragMode = kWaveDragDrawing;
    if (x < 36 && y > 3 && y < 124) drag.waveDragMode = y / 42;
    if (app.song.SoundType[slot] == 1 && x > 43 && x < 394 && y > 3 && y < 124)
        grabLoopMarker(drag, app.song.SoundFileLoop[slot], x);
    // The press is where the pointer already was: a click draws nothing and moves no slider.
    return applyWaveDrag(app, slot, x, y, x, y);
}

bool dragWaveEditor(AppState& app, int x, int y, int px, int py) {
    const int slot = waveformSlotOf(app.song, app.ui.currentInstrument);
    if (slot < 0) return false;
    return applyWaveDrag(app, slot, x, y, px, py);
}
