// Mouse editing of the per-step values: the pan and velocity panel and the chord keys.
#include "app/mouse_step_values.h"

#include <algorithm>

#include "app/app_state.h"
#include "tools/current_selection.h"
#include "ui/panel_geometry.h"

namespace {

constexpr int kPanVelocityHeight = 46;

bool setPanVelocityValue(AppState& app, int x, int y, bool starting) {
    const float value = static_cast<float>(kStepBarsTop + kStepBarsTravel - y) /
                        static_cast<float>(kStepBarsTravel);
    const int bar = x - kStepBarsLeft;
    if (starting && (value < 0.0f || value >= 1.0f || bar < 1 || bar > kStepBarsSpan - 1))
        return false;
    const int instrument = app.ui.currentInstrument;
    if (bar >= 0 && bar < kStepBarsSpan) {
        const int step = bar * kStepsPerBank / kStepBarsSpan + app.drag.viewOffset[instrument];
        float* values =
            app.drag.panVelocitySelect ? app.song.Pan[instrument] : app.song.Vel[instrument];
        if (step >= 0 && step < kGridSteps) values[step] = std::clamp(value, 0.0f, 1.0f);
    }
    app.drag.panVelocityDragging = 1;
    return true;
}

// The chord keys the editor looks at: a song file may claim any count.
int usableChordCount(const ChordKeySet& chord) {
    return std::clamp(static_cast<int>(chord.count), 0, kMaxChordKeys);
}

int lastKeyWithOffset(const ChordKeySet& chord, float offset) {
    for (int k = usableChordCount(chord) - 1; k >= 0; --k)
        if (chord.keys[k].semitoneOffset == offset) return k;
    return -1;
}

int quietestKey(const ChordKeySet& chord) {
    int quietest = 0;
    for (int k = 1; k < usableChordCount(chord); ++k)
        if (chord.keys[k].level < chord.keys[quietest].level) quietest = k;
    return quietest;
}

// The key a new offset goes to: a free place while fewer than eight are used, else the
// quietest key if it is quieter than `level`; -1 when the new key does not get in.
int keyForNewOffset(ChordKeySet& chord, float level) {
    const int count = usableChordCount(chord);
    if (count < kEditorChordKeys) {
        chord.count = count + 1;
        return count;
    }
    const int quietest = quietestKey(chord);
    return chord.keys[quietest].level < level ? quietest : -1;
}

bool setChordKey(AppState& app, int x, int y, bool starting) {
    if (!validInstrument(app.ui.currentInstrument)) return false;
    ChordKeySet& chord = app.song.Chorus[app.ui.currentInstrument];
    const int column = (x - kChordKeysLeft) / kChordKeyWidth;
    const float fraction =
        static_cast<float>(y - kChordKeysTop) / static_cast<float>(kChordLevelRows);
    float offset = static_cast<float>(column + kChordLowestOffset);
    if (starting) {
        // The truncating column formula would give column 0 left of the first key as well.
        if (fraction < 0.0f || fraction > 1.0f || x < kChordKeysLeft || column >= kChordKeyColumns)
            return false;
    } else {
        const int dragged = app.drag.chordDragIndex;
        if (dragged < 0 || dragged >= usableChordCount(chord)) return false;
        offset = chord.keys[dragged].semitoneOffset;
    }
    const float level = std::clamp(1.0f - fraction, 0.0f, 1.0f);
    int key = lastKeyWithOffset(chord, offset);
    if (key < 0) key = keyForNewOffset(chord, level);
    if (key < 0) return false;
    chord.keys[key] = {offset, level};
    app.drag.chordDragIndex = key;
    return true;
}

} // namespace

bool pressPanVelocity(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument)) return false;
    if (x >= 0 && x < kPanSwitchWidth && y >= 0 && y < kPanVelocityHeight) {
        app.drag.panVelocitySelect = !app.drag.panVelocitySelect;
        return true;
    }
    return setPanVelocityValue(app, x, y, true);
}

bool dragPanVelocity(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument)) return false;
    return setPanVelocityValue(app, x, y, false);
}

bool pressChordKeys(AppState& app, int x, int y) {
    return setChordKey(app, x, y, true);
}

bool dragChordKeys(AppState& app, int x, int y) {
    return setChordKey(app, x, y, false);
}
