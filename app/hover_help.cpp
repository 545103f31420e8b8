// Hover help texts of the panels, in the order the help line tries them.
#include "app/hover_help.h"

#include "app/app_state.h"
#include "app/drag_help.h"
#include "ui/panel_update.h"
#include "ui/screen.h"

constexpr const char* kEffectController2DHelp =
    "2D EFFECT CONTROLLER:  ADJUST TWO EFFECT KNOBS AT ONCE  <PRESS ON EFFECT NAMES TO SWITCH>";

namespace {

struct PanelHelp {
    PanelId panel;
    const char* text; // nullptr: the envelope editor's line, which depends on the curve shown
};

constexpr PanelHelp kPanelHelp[] = {
    {PanelId::EnvelopeEditor, nullptr},
    {PanelId::EnvelopeButtons, "ENVELOPE BUTTONS:  SELECT WHICH ENVELOPE TO USE "},
    {PanelId::WaveButtons, "WAVE BUTTONS:  SELECT WHICH WAVEFORM TO USE "},
    {PanelId::WaveEditor,
     "WAVE EDITOR:  DRAW AND MODIFY THE WAVEFORM           <D> AVERAGE WAVEFORM "},
    {PanelId::NotePad,
     "NOTE PAD:  DRAW NOTES IN THE MEASURE  <RIGHT CLICK> ERASE NOTE  <S> TOGGLE SLIDING  "},
    {PanelId::EffectController2D, kEffectController2DHelp},
    {PanelId::VolumeMeter, "VOLUME METER:  IF FLASHING RED THEN THE VOLUME IS TOO HIGH "},
    {PanelId::MainVolumeControl, "MAIN VOLUME CONTROL:  CONTROL LEFT AND RIGHT VOLUME  <PRESS IN "
                                 "MIDDLE TO CONTROL BOTH> "},
    {PanelId::InstrumentButton, "INSTRUMENT BUTTON:  SELECT WHICH INSTRUMENT TO ADJUST "},
    {PanelId::InstrumentControl,
     "INSTRUMENT CONTROL:  ADJUST MUTE, VOLUME AND OCTAVE FOR EACH INSTRUMENT "},
    {PanelId::NoteBankSequencer, "NOTE BANK SEQUENCER:  ADJUST ORDER OF BANKS TO BE PLAYED  <0-9> "
                                 "ADD BANK  <LEFT CLICK> REMOVE"},
    {PanelId::NoteBankButtons,
     "NOTE BANK BUTTONS:  SELECT WHICH NOTE BANK TO VIEW AND ITS LENGTH "},
    {PanelId::PanAndVelocity,
     "PAN AND VELOCITY:  ADJUST THE STEREO PAN AND VELOCITY FOR EACH NOTE "},
    {PanelId::BpmDisplay,
     "BPM:  ADJUST THE BEATS PER MINUTE  <LEFT CLICK> CHANGE NUMBER, USE KEYBOARD "},
    {PanelId::ChordKeys, "CHORD KEYS:  AUTOMATICALLY CREATE CHORDS - EIGHT MAXIMUM NOTES "},
    {PanelId::EffectKnobs, "EFFECT KNOBS:  ADJUST THE EFFECTS "},
    {PanelId::PlayStopRecord, "PLAY, STOP AND RECORD"},
    {PanelId::DelayReverb, "DELAY/REVERB:  ADJUST THE THREE DELAYS TO CREATE ECHOS AND REVERB"},
    {PanelId::DelayDisplay, "DELAY DISPLAY:  DISPLAYS THE COMBINED RESULTS OF THE THREE DELAYS  "
                            "X-AXIS TIME  Y-AXIS FREQ"},
    {PanelId::CpuMeter,
     "CPU METER:  AMOUNT THE CPU IS BEING USED - CRACKING NOISE WILL OCCUR IF TOO HIGH "},
};

// Strictly inside on all four sides: a panel's border line belongs to no panel.
bool strictlyInside(const PanelRect& rect, int x, int y) {
    return rect.left < x && x < rect.right && rect.top < y && y < rect.bottom;
}

} // namespace

const char* envelopeEditorHelpText(int curve) {
    static const char* const kTexts[] = {
        "ENVELOPE EDITOR:  AMPLITUDE ENVELOPE  <F> STEP ENVELOPE  <Z X C V> SWITCH CURVE ",
        "ENVELOPE EDITOR:  PITCH ENVELOPE  <F> STEP ENVELOPE  <Z X C V> SWITCH CURVE ",
        "ENVELOPE EDITOR:  FREQUENCY CUTOFF ENVELOPE  <F> STEP ENVELOPE  <Z X C V> SWITCH CURVE ",
        "ENVELOPE EDITOR:  RATIO OF HIGH PASS TO LOW PASS FILTER  <F> STEP ENVELOPE ",
    };
    if (curve < 0 || curve > 3) curve = 0;
    return kTexts[curve];
}

const char* hoverHelpText(const AppState& app, const Screen& screen, int x, int y) {
    const char* text = "";
    for (const PanelHelp& help : kPanelHelp) {
        if (!strictlyInside(panelRect(screen.layout, help.panel), x, y)) continue;
        text = help.text ? help.text : envelopeEditorHelpText(app.ui.envelopeCurve);
    }
    if (const char* dragText = dragHelpText(app)) text = dragText;
    return text;
}

void showHoverHelp(AppState& app, Screen& screen, int x, int y) {
    if (!screen.windowActive) return;
    showHelpLineText(app, screen, hoverHelpText(app, screen, x, y));
}
