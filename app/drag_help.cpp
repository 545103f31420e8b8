// The hover help line's texts for the drags in progress.
#include "app/drag_help.h"

#include "app/app_state.h"
#include "tools/current_selection.h"
#include "ui/panel_table.h"

namespace {

constexpr const char* kEffectKnobTexts[] = {
    "EFFECT KNOB:  ADJUST FREQUENCY CUTOFF ",
    "EFFECT KNOB:  ADJUST AMOUNT OF RESONANCE ",
    "EFFECT KNOB:  OVERDRIVE RESONANCE ",
    "EFFECT KNOB:  AMOUNT OF DISTORTION ",
    "EFFECT KNOB:  GRADUALLY DECREASE DISTORTION AS NOTE PROGRESSES ",
    "EFFECT KNOB:  RANDOM FREQUENCY NOISE ",
    "EFFECT KNOB:  RANDOM PITCH SHIFT ",
    "EFFECT KNOB:  CHORUS, ADD SLIGHTLY PITCH SHIFTED NOTES ",
    "EFFECT KNOB:  RANDOM ATTACK OR NOTE ONSET ",
    "EFFECT KNOB:  SHIFT ATTACK BASED ON NOTE FREQUENCY AND POSITION ",
    "EFFECT KNOB:  ADJUST RATE OF NOTE SLIDING ",
    "EFFECT KNOB:  ADJUST NOTE PITCH ",
};

// Wave editor drags on an imported sound (SoundType 1), by waveDragMode 0..5; drawing adds none.
constexpr const char* kImportedWaveTexts[] = {
    "WAVE EDITOR:  NO EFFECT",
    "WAVE EDITOR:  NO EFFECT",
    "WAVE EDITOR:  ADD NOISE",
    nullptr,
    "WAVE EDITOR:  ADJUST START OF WAVE LOOP",
    "WAVE EDITOR:  ADJUST END OF WAVE LOOP",
};

// Wave editor drags on a drawn waveform (SoundType 0), by waveDragMode 0..3.
constexpr const char* kDrawnWaveTexts[] = {
    "WAVE EDITOR:  FADE BETWEEN TWO WAVEFORMS",
    "WAVE EDITOR:  ADD HIGHER HARMONICS TO WAVEFORM",
    "WAVE EDITOR:  ADD NOISE",
    "WAVE EDITOR:  DRAW THE WAVEFORM",
};

constexpr const char* kEnvelopeTexts[] = {
    "ENVELOPE EDITOR:  ADJUST THE START OF THE SUSTAIN PERIOD",
    "ENVELOPE EDITOR:  ADJUST THE END OF THE SUSTAIN PERIOD",
    "ENVELOPE EDITOR:  ADJUST THE END OF THE ENVELOPE",
    "ENVELOPE EDITOR:  DRAW THE ENVELOPE",
};

constexpr const char* kMainVolumeTexts[] = {
    "MAIN VOLUME CONTROL:  CONTROL LEFT VOLUME",
    "MAIN VOLUME CONTROL:  CONTROL RIGHT VOLUME",
    "MAIN VOLUME CONTROL:  CONTROL LEFT AND RIGHT VOLUME",
};

// Delay/reverb drags by delayDragColumn 0..5; column 1 is never dragged.
constexpr const char* kDelayTexts[] = {
    "DELAY/REVERB:  ADJUST THE DELAY OFFSET - BETWEEN 0 AND 4 NOTE STEPS ",
    nullptr,
    "DELAY/REVERB:  ADJUST THE DELAY FEEDBACK ",
    "DELAY/REVERB:  ADJUST THE DELAY CUTOFF FREQUENCY ",
    "DELAY/REVERB:  ADJUST THE DELAY STEREO PAN ",
    "DELAY/REVERB:  FINE TUNE THE DELAY OFFSET ",
};

template <int N> const char* textAt(const char* const (&texts)[N], int index) {
    return index >= 0 && index < N ? texts[index] : nullptr;
}

// Keeps the later text when it applies: the help line shows the last text that applies.
void overrideWith(const char*& shown, const char* text) {
    if (text != nullptr) shown = text;
}

const char* waveDragText(const AppState& app) {
    const int slot = waveformSlotOf(app.song, app.ui.currentInstrument);
    if (slot < 0) return nullptr;
    const int type = app.song.SoundType[slot];
    if (type == 1) return textAt(kImportedWaveTexts, app.drag.waveDragMode);
    if (type == 0) return textAt(kDrawnWaveTexts, app.drag.waveDragMode);
    return nullptr;
}

} // namespace

const char* dragHelpText(const AppState& app) {
    const DragState& drag = app.drag;
    const char* shown = nullptr;
    if (drag.effectDimDragging) shown = panelSpec(PanelId::EffectController2D).help;
    overrideWith(shown, textAt(kEffectKnobTexts, drag.knobDragIndex));
    if (drag.instrumentDragIndex >= 0)
        shown = drag.instrumentDragOctave ? "INSTRUMENT CONTROL:  ADJUST THE INSTRUMENT'S OCTAVE "
                                          : "INSTRUMENT CONTROL:  ADJUST THE INSTRUMENT'S VOLUME ";
    overrideWith(shown, waveDragText(app));
    overrideWith(shown, textAt(kEnvelopeTexts, drag.envelopeDragMode));
    if (noteBeingDrawn(drag)) shown = "NOTE PAD:  DRAW NOTE  <RIGHT CLICK> ERASE NOTE";
    overrideWith(shown, textAt(kMainVolumeTexts, drag.mainVolumeDragMode));
    if (drag.chordDragIndex >= 0)
        shown = "CHORD KEYS:  ADJUST CHORD NOTE - HEIGHT OF GREEN CONTROLS VOLUME ";
    if (drag.panVelocityDragging)
        shown = drag.panVelocitySelect ? "PAN AND VELOCITY:  ADJUST THE STEREO PAN FOR THE NOTE "
                                       : "PAN AND VELOCITY:  ADJUST THE VELOCITY FOR THE NOTE ";
    overrideWith(shown, textAt(kDelayTexts, drag.delayDragColumn));
    return shown;
}
