// Panel rectangles, computed from the client size by the placement rules.
#include "ui/panel_layout.h"

#include "ui/display.h"

namespace {

constexpr int kGap = 8; // between neighbouring panels and to the window edge

PanelRect sized(int left, int top, int width, int height) {
    return {left, top, left + width, top + height};
}

} // namespace

void layoutPanels(PanelLayout& layout) {
    auto rect = [&](PanelId id) -> PanelRect& { return layout.rects[static_cast<int>(id)]; };

    // Bottom right and top left anchors first; everything else hangs off them.
    const PanelRect wave = rect(PanelId::WaveEditor) =
        sized(kClientWidth - 399 - kGap, kClientHeight - 128 - kGap, 399, 128);
    const PanelRect pad = rect(PanelId::NotePad) = sized(19, 34, 409, 201);
    const PanelRect strip = rect(PanelId::stepStrip) = sized(pad.left, pad.top - 5, 409, 5);
    const PanelRect envelope = rect(PanelId::EnvelopeEditor) =
        sized(kGap, kClientHeight - 163 - kGap, 354, 163);
    rect(PanelId::EnvelopeButtons) = sized(envelope.left + 46, envelope.top - 23, 8 * 38, 23);
    const PanelRect waveButtons = rect(PanelId::WaveButtons) =
        sized(wave.left + 40, wave.top - 23, 8 * 44, 23);
    rect(PanelId::ChordKeys) = sized(waveButtons.left, waveButtons.top - 38, 358, 38);
    const PanelRect meter = rect(PanelId::VolumeMeter) = sized(pad.right + kGap, strip.top, 83, 70);
    const PanelRect controller2D = rect(PanelId::EffectController2D) =
        sized(meter.right + kGap, strip.top, 201, 201);
    const PanelRect knobs = rect(PanelId::EffectKnobs) =
        sized(controller2D.right + kGap, strip.top, 88, 224);
    const PanelRect mainVolume = rect(PanelId::MainVolumeControl) =
        sized(meter.left, meter.bottom, 83, 201 - 70);
    const PanelRect panVelocity = rect(PanelId::PanAndVelocity) =
        sized(pad.left - 11, pad.bottom, 409 + 11, 46);
    rect(PanelId::NoteBankSequencer) = sized(pad.left - 11, panVelocity.bottom, 207, 92);
    const PanelRect bankButtons = rect(PanelId::NoteBankButtons) =
        sized(pad.left, pad.top - 5 - 23, 312, 23);
    const PanelRect instrumentButtons = rect(PanelId::InstrumentButton) =
        sized(pad.left + 409 / 2, panVelocity.bottom, (409 / 8) * 4, 23);
    const PanelRect instrumentControl = rect(PanelId::InstrumentControl) =
        sized(instrumentButtons.left, instrumentButtons.bottom, rectWidth(instrumentButtons), 69);
    const PanelRect delayReverb = rect(PanelId::DelayReverb) =
        sized(pad.right + kGap, mainVolume.bottom + 3, 288, 90);
    rect(PanelId::DelayDisplay) = sized(delayReverb.left, delayReverb.bottom, 377, 50);
    rect(PanelId::CpuMeter) = sized(knobs.left, knobs.bottom + 3, 27, 63);
    rect(PanelId::helpLine) = sized(bankButtons.right + kGap, 6, 485, 17);
    // The play panel sits centred in the gap between the envelope and wave editors.
    const PanelRect play = rect(PanelId::PlayStopRecord) = sized(
        (wave.left - envelope.right) / 2 + envelope.right - 46 / 2, envelope.bottom - 154, 46, 154);
    // The BPM digits sit centred between the instrument control and the play panel.
    rect(PanelId::BpmDisplay) = sized(
        play.left, (play.top - instrumentControl.bottom) / 2 + instrumentControl.bottom - 31 / 2,
        83, 31);
}
