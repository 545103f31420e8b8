// Mouse editing of the effect panels: effect knobs, 2D effect controller and delay/reverb.
#include "app/mouse_effects.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/playback.h"
#include "tools/current_selection.h"

namespace {

constexpr int kKnobColumnWidth = 40;
constexpr int kKnobRowHeight = 36;
constexpr int kKnobNameHeight = 8; // the top of each knob row is its name
constexpr int kShownKnobRows = 6;  // the panel shows knobs 0..11
constexpr float kKnobDragPixels = 120;
constexpr float kAxisPixels = 158; // the 2D plot's span of one knob's 0..1
constexpr int kDelayBandTop = 15;
constexpr int kDelayBandHeight = 25;
constexpr int kDelayKnobsLeft = 162;
constexpr float kDelayOffsetPixels = 40; // pixels per step of delay offset
constexpr float kDelayDragPixels = 220;

bool validKnob(int knob) {
    return knob >= 0 && knob < kEffectKnobCount;
}

// The next knob index after `knob`, wrapping 15 to 0 (a damaged file may store any index).
int nextKnob(int knob) {
    return (knob % kEffectKnobCount + kEffectKnobCount + 1) % kEffectKnobCount;
}

float clamp01(float value) {
    return std::clamp(value, 0.0f, 1.0f);
}

void setAxisKnob(AppState& app, int knob, float value) {
    if (!validKnob(knob)) return;
    app.song.Effect[app.ui.currentInstrument][knob].value = clamp01(value);
    if (knob == kKnobSlide) app.drag.slideKnobChanged = 1;
}

void setAxesFromPointer(AppState& app, int x, int y) {
    const EffectAxes& axes = app.song.EffectDim[app.ui.currentInstrument];
    setAxisKnob(app, axes.xKnob, static_cast<float>(x - 27) / kAxisPixels);
    setAxisKnob(app, axes.yKnob, static_cast<float>(y - 14) / kAxisPixels);
}

bool validDelayDrag(const DragState& drag) {
    return drag.delayDragRow >= 0 && drag.delayDragRow < kDelayCount && drag.delayDragColumn >= 0 &&
           drag.delayDragColumn < kDelayValues;
}

} // namespace

bool isEffectAxis(const AppState& app, int knob) {
    if (!validInstrument(app.ui.currentInstrument)) return false;
    const EffectAxes& axes = app.song.EffectDim[app.ui.currentInstrument];
    return knob == axes.xKnob || knob == axes.yKnob;
}

bool pressEffectKnobs(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || x < 0) return false;
    const int column = x / kKnobColumnWidth;
    const int rowY = y - 4;
    // The hit test reaches the shown knobs only: rows 6 and 7 would lie over the CPU meter.
    if (column > 1 || rowY < 0 || rowY >= kShownKnobRows * kKnobRowHeight) return false;
    const int knob = column + 2 * (rowY / kKnobRowHeight);
    if (rowY % kKnobRowHeight >= kKnobNameHeight) {
        app.drag.knobDragIndex = knob;
    } else {
        EffectAxes& axes = app.song.EffectDim[app.ui.currentInstrument];
        axes.yKnob = axes.xKnob;
        axes.xKnob = knob;
    }
    return true;
}

bool dragEffectKnob(AppState& app, int y, int py) {
    const int knob = app.drag.knobDragIndex;
    if (!validInstrument(app.ui.currentInstrument) || !validKnob(knob)) return false;
    float& value = app.song.Effect[app.ui.currentInstrument][knob].value;
    value = clamp01(value - static_cast<float>(y - py) / kKnobDragPixels);
    if (knob == kKnobSlide) app.drag.slideKnobChanged = 1;
    recordKnobChange(app, app.ui.currentInstrument);
    return true;
}

bool pressEffectController2D(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || x < 0 || x > 200 || y < 0 || y > 200)
        return false;
    EffectAxes& axes = app.song.EffectDim[app.ui.currentInstrument];
    if (x < 13 && y < 180) {
        axes.yKnob = nextKnob(axes.yKnob);
    } else if (x >= 13 && y >= 188 && y <= 200) {
        axes.xKnob = nextKnob(axes.xKnob);
    } else {
        setAxesFromPointer(app, x, y);
        app.drag.effectDimDragging = 1;
    }
    recordKnobChange(app, app.ui.currentInstrument);
    return true;
}

bool dragEffectController2D(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument)) return false;
    setAxesFromPointer(app, x, y);
    recordKnobChange(app, app.ui.currentInstrument);
    return true;
}

bool pressDelayReverb(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || x < 0 || x > 287 || y < kDelayBandTop ||
        y > 89)
        return false;
    DragState& drag = app.drag;
    const int row = (y - kDelayBandTop) / kDelayBandHeight;
    drag.delayDragRow = row;
    float* delay = app.song.DelayParams[app.ui.currentInstrument][row];
    if (x >= kDelayKnobsLeft) {
        drag.delayDragColumn = (x - 164) / 31 + kDelayFeedback; // 162..194 is the first column
    } else {
        drag.delayDragColumn = kDelayOffset;
        // Only a press reaches offset 0 (a delay that adds nothing); a drag stops at 0.05.
        delay[kDelayOffset] =
            std::clamp(static_cast<float>(x - 2) / kDelayOffsetPixels, 0.0f, 4.0f);
        delay[kDelayFineTune] = 0.5f;
    }
    recordDelayChange(app, app.ui.currentInstrument);
    return true;
}

bool dragDelayReverb(AppState& app, int x, int y, int py) {
    const DragState& drag = app.drag;
    if (!validInstrument(app.ui.currentInstrument) || !validDelayDrag(drag)) return false;
    float* delay = app.song.DelayParams[app.ui.currentInstrument][drag.delayDragRow];
    if (drag.delayDragColumn == kDelayOffset) {
        delay[kDelayOffset] =
            std::clamp(static_cast<float>(x - 2) / kDelayOffsetPixels, 0.05f, 4.0f);
    } else {
        float& value = delay[drag.delayDragColumn];
        value = clamp01(value - static_cast<float>(y - py) / kDelayDragPixels);
    }
    recordDelayChange(app, app.ui.currentInstrument);
    return true;
}
