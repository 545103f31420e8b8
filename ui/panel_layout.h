// The 22 panels of the window: their ids, and their rectangles computed from the client size by
// the placement rules.
#pragma once

#include "ui/display.h"
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

// The placement rules: bottom right and top left anchors first; everything else hangs off them.
namespace layout_rules {

constexpr int kGap = 8; // between neighbouring panels and to the window edge

constexpr PanelRect sized(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

constexpr PanelRect kWaveEditor =
    sized(kClientWidth - 399 - kGap, kClientHeight - 128 - kGap, 399, 128);
constexpr PanelRect kNotePad = sized(19, 34, 409, 201);
constexpr PanelRect kStepStrip = sized(kNotePad.left, kNotePad.top - 5, 409, 5);
constexpr PanelRect kEnvelopeEditor = sized(kGap, kClientHeight - 163 - kGap, 354, 163);
constexpr PanelRect kEnvelopeButtons =
    sized(kEnvelopeEditor.left + 46, kEnvelopeEditor.top - 23, 8 * 38, 23);
constexpr PanelRect kWaveButtons = sized(kWaveEditor.left + 40, kWaveEditor.top - 23, 8 * 44, 23);
constexpr PanelRect kChordKeys = sized(kWaveButtons.left, kWaveButtons.top - 38, 358, 38);
constexpr PanelRect kVolumeMeter = sized(kNotePad.right + kGap, kStepStrip.top, 83, 70);
constexpr PanelRect kEffectController2D =
    sized(kVolumeMeter.right + kGap, kStepStrip.top, 201, 201);
constexpr PanelRect kEffectKnobs = sized(kEffectController2D.right + kGap, kStepStrip.top, 88, 224);
constexpr PanelRect kMainVolumeControl =
    sized(kVolumeMeter.left, kVolumeMeter.bottom, 83, 201 - 70);
constexpr PanelRect kPanAndVelocity = sized(kNotePad.left - 11, kNotePad.bottom, 409 + 11, 46);
constexpr PanelRect kNoteBankSequencer = sized(kNotePad.left - 11, kPanAndVelocity.bottom, 207, 92);
constexpr PanelRect kNoteBankButtons = sized(kNotePad.left, kNotePad.top - 5 - 23, 312, 23);
constexpr PanelRect kInstrumentButton =
    sized(kNotePad.left + 409 / 2, kPanAndVelocity.bottom, (409 / 8) * 4, 23);
constexpr PanelRect kInstrumentControl =
    sized(kInstrumentButton.left, kInstrumentButton.bottom,
          kInstrumentButton.right - kInstrumentButton.left, 69);
constexpr PanelRect kDelayReverb =
    sized(kNotePad.right + kGap, kMainVolumeControl.bottom + 3, 288, 90);
constexpr PanelRect kDelayDisplay = sized(kDelayReverb.left, kDelayReverb.bottom, 377, 50);
constexpr PanelRect kCpuMeter = sized(kEffectKnobs.left, kEffectKnobs.bottom + 3, 27, 63);
constexpr PanelRect kHelpLine = sized(kNoteBankButtons.right + kGap, 6, 485, 17);
// The play panel sits centred in the gap between the envelope and wave editors.
constexpr PanelRect kPlayStopRecord =
    sized((kWaveEditor.left - kEnvelopeEditor.right) / 2 + kEnvelopeEditor.right - 46 / 2,
          kEnvelopeEditor.bottom - 154, 46, 154);
// The BPM digits sit centred between the instrument control and the play panel.
constexpr PanelRect kBpmDisplay = sized(kPlayStopRecord.left,
                                        (kPlayStopRecord.top - kInstrumentControl.bottom) / 2 +
                                            kInstrumentControl.bottom - 31 / 2,
                                        83, 31);

} // namespace layout_rules

// Fills in every panel's rectangle from the panel table.
void layoutPanels(PanelLayout& layout);

inline const PanelRect& panelRect(const PanelLayout& layout, PanelId id) {
    return layout.rects[static_cast<int>(id)];
}
