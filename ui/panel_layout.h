// The 22 panels of the window: their ids and rectangles.
#pragma once

#include "ui/panel_rect.h"

// Panel ids, in the order of the layout table.
enum class PanelId {
    NoteBankButtons,
    helpLine,
    stepStrip, // the playback marker strip above the note pad
    NotePad,
    VolumeMeter,
    EffectController2D,
    EffectKnobs,
    MainVolumeControl,
    DelayReverb,
    DelayDisplay,
    CpuMeter,
    PanAndVelocity,
    NoteBankSequencer,
    InstrumentButton,
    InstrumentControl,
    ChordKeys,
    WaveButtons,
    WaveEditor,
    EnvelopeButtons,
    EnvelopeEditor,
    BpmDisplay,
    PlayStopRecord,
};
inline constexpr int kPanelCount = 22;

inline constexpr int kMarkerWidth = 20; // the playback marker image, 20 x 5
inline constexpr int kMarkerHeight = 5;

// The rectangles of all panels, indexed by PanelId.
struct PanelLayout {
    PanelRect rects[kPanelCount];
};

// Computes every rectangle from the client size by the placement rules, in start-up order.
void layoutPanels(PanelLayout& layout);

inline const PanelRect& panelRect(const PanelLayout& layout, PanelId id) {
    return layout.rects[static_cast<int>(id)];
}
