// The panel table: one entry per panel, with the adapters from the table's renderer signature to
// each panel's own.
#include "ui/panel_table.h"

#include "base/safe_convert.h"
#include "ui/panel_renderers.h"

namespace {

const char* const kEnvelopeEditorHelp[4] = {
    "ENVELOPE EDITOR:  AMPLITUDE ENVELOPE  <F> STEP ENVELOPE  <Z X C V> SWITCH CURVE ",
    "ENVELOPE EDITOR:  PITCH ENVELOPE  <F> STEP ENVELOPE  <Z X C V> SWITCH CURVE ",
    "ENVELOPE EDITOR:  FREQUENCY CUTOFF ENVELOPE  <F> STEP ENVELOPE  <Z X C V> SWITCH CURVE ",
    "ENVELOPE EDITOR:  RATIO OF HIGH PASS TO LOW PASS FILTER  <F> STEP ENVELOPE ",
};

// The table's renderers: `selection` is the surface index, the per-instrument panels draw the
// instrument it names and the single-surface ones the current instrument.
int current(const PanelInputs& in) {
    return in.ui.currentInstrument;
}

void notePad(const PanelInputs& in, Screen& screen, int) {
    renderNotePad(in.song, in.ui, in.drag, screen, current(in));
}
void envelopeEditor(const PanelInputs& in, Screen& screen, int selection) {
    renderEnvelopeEditor(in.song, in.ui, screen, selection / 4, selection % 4);
}
void waveEditor(const PanelInputs& in, Screen& screen, int selection) {
    renderWaveEditor(in.song, in.playbackWaveforms, in.ui, in.drag, in.clock, screen, selection);
}
void chordKeys(const PanelInputs& in, Screen& screen, int) {
    renderChordKeys(in.song, in.ui, screen, current(in));
}
void effectController2D(const PanelInputs& in, Screen& screen, int selection) {
    renderEffectController2D(in.song, in.ui, screen, selection);
}
void panAndVelocity(const PanelInputs& in, Screen& screen, int selection) {
    renderPanAndVelocity(in.song, in.ui, in.drag, screen, selection);
}
void envelopeButtons(const PanelInputs& in, Screen& screen, int) {
    renderEnvelopeButtons(in.song, in.ui, screen, current(in));
}
void waveButtons(const PanelInputs& in, Screen& screen, int) {
    renderWaveButtons(in.song, in.ui, in.clock, screen, current(in));
}
void volumeMeter(const PanelInputs& in, Screen& screen, int) {
    renderVolumeMeter(in.ui, in.meters, screen);
}
void instrumentButtons(const PanelInputs& in, Screen& screen, int) {
    renderInstrumentButtons(in.song, in.ui, screen, current(in));
}
void instrumentControl(const PanelInputs& in, Screen& screen, int) {
    renderInstrumentControl(in.song, in.ui, in.transport, screen);
}
void noteBankSequencer(const PanelInputs& in, Screen& screen, int) {
    renderNoteBankSequencer(in.song, in.ui, screen, current(in));
}
void noteBankButtons(const PanelInputs& in, Screen& screen, int) {
    renderNoteBankButtons(in.song, in.ui, in.drag, screen, current(in));
}
void mainVolume(const PanelInputs& in, Screen& screen, int) {
    renderMainVolume(in.song, in.ui, screen);
}
void bpmDisplay(const PanelInputs& in, Screen& screen, int) {
    renderBpmDisplay(in.song, in.ui, screen);
}
void effectKnobs(const PanelInputs& in, Screen& screen, int selection) {
    renderEffectKnobs(in.song, in.ui, in.drag, screen, selection);
}
void playStopRecord(const PanelInputs& in, Screen& screen, int) {
    renderPlayStopRecord(in.ui, in.transport, screen);
}
void delayReverb(const PanelInputs& in, Screen& screen, int selection) {
    renderDelayReverb(in.song, in.ui, in.drag, screen, selection);
}
void delayDisplay(const PanelInputs& in, Screen& screen, int selection) {
    renderDelayDisplay(in.song, in.ui, screen, selection);
}
void cpuMeter(const PanelInputs& in, Screen& screen, int) {
    renderCpuMeter(in.ui, in.meters, screen);
}
// The playback marker is drawn straight into the strip's surface; its canvas stays black.
void stepStrip(const PanelInputs&, Screen& screen, int) {
    clearCanvas(panelCanvas(screen, PanelId::stepStrip));
}
// The help line's text comes from the hover help; rendered as a panel it is empty.
void helpLine(const PanelInputs& in, Screen& screen, int) {
    renderHelpLine(in.ui, screen, "");
}

namespace R = layout_rules;
using S = SurfaceSet;
constexpr int kOne = 1;
constexpr int kEach = kInstrumentCount;

} // namespace

// clang-format off
const PanelSpec kPanels[kPanelCount] = {
    {PanelId::NotePad, R::kNotePad, S::Single, kOne, notePad, true, true, true,
     "NOTE PAD:  DRAW NOTES IN THE MEASURE  <RIGHT CLICK> ERASE NOTE  <S> TOGGLE SLIDING  ",
     nullptr, 3}, // draws the envelope curve in view
    {PanelId::EnvelopeEditor, R::kEnvelopeEditor, S::PerEnvelopeCurve, kOne, envelopeEditor, true, true, true,
     nullptr, kEnvelopeEditorHelp, 1},
    {PanelId::WaveEditor, R::kWaveEditor, S::PerWaveform, kOne, waveEditor, true, true, true,
     "WAVE EDITOR:  DRAW AND MODIFY THE WAVEFORM           <D> AVERAGE WAVEFORM ", nullptr, 0, 1},
    {PanelId::ChordKeys, R::kChordKeys, S::Single, kOne, chordKeys, true, true, true,
     "CHORD KEYS:  AUTOMATICALLY CREATE CHORDS - EIGHT MAXIMUM NOTES ", nullptr},
    {PanelId::EffectController2D, R::kEffectController2D, S::PerInstrument, kEach, effectController2D, true, true, true,
     "2D EFFECT CONTROLLER:  ADJUST TWO EFFECT KNOBS AT ONCE  <PRESS ON EFFECT NAMES TO SWITCH>",
     nullptr},
    {PanelId::PanAndVelocity, R::kPanAndVelocity, S::PerInstrument, kOne, panAndVelocity, true, true, true,
     "PAN AND VELOCITY:  ADJUST THE STEREO PAN AND VELOCITY FOR EACH NOTE ", nullptr},
    {PanelId::EnvelopeButtons, R::kEnvelopeButtons, S::Single, kOne, envelopeButtons, true, true, true,
     "ENVELOPE BUTTONS:  SELECT WHICH ENVELOPE TO USE ", nullptr, 2},
    {PanelId::WaveButtons, R::kWaveButtons, S::Single, kOne, waveButtons, true, true, true,
     "WAVE BUTTONS:  SELECT WHICH WAVEFORM TO USE ", nullptr, 0, 2},
    {PanelId::VolumeMeter, R::kVolumeMeter, S::Single, kOne, volumeMeter, true, true, false,
     "VOLUME METER:  IF FLASHING RED THEN THE VOLUME IS TOO HIGH ", nullptr},
    {PanelId::InstrumentButton, R::kInstrumentButton, S::Single, kOne, instrumentButtons, true, true, true,
     "INSTRUMENT BUTTON:  SELECT WHICH INSTRUMENT TO ADJUST ", nullptr},
    {PanelId::InstrumentControl, R::kInstrumentControl, S::Single, kOne, instrumentControl, true, true, false,
     "INSTRUMENT CONTROL:  ADJUST MUTE, VOLUME AND OCTAVE FOR EACH INSTRUMENT ", nullptr},
    {PanelId::NoteBankSequencer, R::kNoteBankSequencer, S::Single, kOne, noteBankSequencer, true, true, true,
     "NOTE BANK SEQUENCER:  ADJUST ORDER OF BANKS TO BE PLAYED  <0-9> ADD BANK  <LEFT CLICK> "
     "REMOVE", nullptr},
    {PanelId::NoteBankButtons, R::kNoteBankButtons, S::Single, kOne, noteBankButtons, true, true, true,
     "NOTE BANK BUTTONS:  SELECT WHICH NOTE BANK TO VIEW AND ITS LENGTH ", nullptr},
    {PanelId::MainVolumeControl, R::kMainVolumeControl, S::Single, kOne, mainVolume, true, true, false,
     "MAIN VOLUME CONTROL:  CONTROL LEFT AND RIGHT VOLUME  <PRESS IN MIDDLE TO CONTROL BOTH> ",
     nullptr},
    {PanelId::BpmDisplay, R::kBpmDisplay, S::Single, kOne, bpmDisplay, true, true, false,
     "BPM:  ADJUST THE BEATS PER MINUTE  <LEFT CLICK> CHANGE NUMBER, USE KEYBOARD ", nullptr},
    {PanelId::EffectKnobs, R::kEffectKnobs, S::PerInstrument, kOne, effectKnobs, true, true, true,
     "EFFECT KNOBS:  ADJUST THE EFFECTS ", nullptr},
    {PanelId::PlayStopRecord, R::kPlayStopRecord, S::Single, kOne, playStopRecord, true, true, false,
     "PLAY, STOP AND RECORD", nullptr},
    {PanelId::DelayReverb, R::kDelayReverb, S::PerInstrument, kOne, delayReverb, true, true, true,
     "DELAY/REVERB:  ADJUST THE THREE DELAYS TO CREATE ECHOS AND REVERB", nullptr},
    {PanelId::DelayDisplay, R::kDelayDisplay, S::PerInstrument, kOne, delayDisplay, true, true, true,
     "DELAY DISPLAY:  DISPLAYS THE COMBINED RESULTS OF THE THREE DELAYS  X-AXIS TIME  Y-AXIS FREQ",
     nullptr},
    {PanelId::CpuMeter, R::kCpuMeter, S::Single, kOne, cpuMeter, true, true, false,
     "CPU METER:  AMOUNT THE CPU IS BEING USED - CRACKING NOISE WILL OCCUR IF TOO HIGH ", nullptr},
    {PanelId::stepStrip, R::kStepStrip, S::Single, kOne, stepStrip, true, false, false, nullptr, nullptr},
    {PanelId::helpLine, R::kHelpLine, S::Single, kOne, helpLine, false, false, false, nullptr, nullptr},
};
// clang-format on

const PanelSpec& panelSpec(PanelId id) {
    for (const PanelSpec& spec : kPanels)
        if (spec.id == id) return spec;
    return kPanels[0]; // every PanelId has an entry (the panel table test checks)
}

const char* panelHelpText(const PanelSpec& spec, int envelopeCurve) {
    if (!spec.curveHelp) return spec.help;
    return spec.curveHelp[envelopeCurve >= 0 && envelopeCurve <= 3 ? envelopeCurve : 0];
}

int panelSurfaceCount(PanelId id) {
    switch (panelSpec(id).surfaces) {
    case SurfaceSet::PerInstrument:
        return kInstrumentCount;
    case SurfaceSet::PerWaveform:
        return kWaveformSlotCount;
    case SurfaceSet::PerEnvelopeCurve:
        return kEnvelopeBankCount * 4;
    case SurfaceSet::Single:
        break;
    }
    return 1;
}

int panelCanvasCount(PanelId id) {
    return panelSpec(id).canvases;
}
