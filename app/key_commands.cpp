// Keyboard commands and their redraws.
#include "app/key_commands.h"

#include "app/app_state.h"
#include "app/key_codes.h"
#include "app/panel_redraw.h"
#include "app/playback.h"
#include "app/recording_control.h"
#include "engine/sequencer.h"
#include "model/bpm_digits.h"
#include "tools/current_selection.h"
#include "tools/envelope_edits.h"
#include "tools/waveform_edits.h"
#include "tools/waveform_presets.h"

namespace {

constexpr float kAmplifyFactor = 1.2f;
constexpr float kReduceFactor = 0.8333333f; // the float nearest 1 / 1.2
constexpr float kSlowestTypedBpm = 10.0f;

void togglePlayback(AppState& app) {
    if (app.engine.playing)
        stopPlayback(app);
    else
        startPlayback(app);
}

// After a tempo change: the wave editor of an imported waveform shows the sound file against
// the step length, so those surfaces are re-rendered.
void redrawAfterTempoChange(AppState& app, Screen& screen) {
    updatePanel(app, screen, PanelId::PlayStopRecord);
    updatePanel(app, screen, PanelId::BpmDisplay);
    for (int slot = 0; slot < kWaveformSlotCount; ++slot)
        if (app.song.SoundType[slot] == 1) renderPanel(app, screen, PanelId::WaveEditor, slot);
    showPanel(app, screen, PanelId::WaveEditor);
    updatePanel(app, screen, PanelId::WaveButtons);
}

// Delete: an imported waveform plays its drawn samples again.
void dropImportedSound(AppState& app) {
    int slot = waveformSlotOf(app.song, app.ui.currentInstrument);
    if (slot >= 0 && app.song.SoundType[slot] == 1) app.song.SoundType[slot] = 0;
}

// Q, W, E, R: the engine flips Mute at the next bank change, stop or start.
int muteKeyInstrument(int key) {
    switch (key) {
    case 'Q':
        return 0;
    case 'W':
        return 1;
    case 'E':
        return 2;
    case 'R':
        return 3;
    default:
        return -1;
    }
}

// Z, X, C, V: amplitude, pitch, frequency cutoff, ratio.
int curveKeyCurve(int key) {
    switch (key) {
    case 'Z':
        return kCurveAmplitude;
    case 'X':
        return kCurvePitch;
    case 'C':
        return kCurveCutoff;
    case 'V':
        return kCurveRatio;
    default:
        return -1;
    }
}

void onLetterKey(AppState& app, Screen& screen, Platform& platform, int key) {
    if (int instrument = muteKeyInstrument(key); instrument >= 0) {
        app.engine.pendingMuteToggle[instrument] = !app.engine.pendingMuteToggle[instrument];
        updatePanel(app, screen, PanelId::InstrumentControl);
        return;
    }
    if (int curve = curveKeyCurve(key); curve >= 0) {
        app.ui.envelopeCurve = curve;
        showPanel(app, screen, PanelId::EnvelopeEditor);
        updatePanel(app, screen, PanelId::EnvelopeButtons); // their thumbnails show this curve
        return;
    }
    switch (key) {
    case 'A':
        averageEnvelope(app.song, envelopeBankOf(app.song, app.ui.currentInstrument),
                        app.ui.envelopeCurve, 2);
        redrawEnvelope(app, screen);
        break;
    case 'S':
        app.ui.slidingAllowed = !app.ui.slidingAllowed;
        break;
    case 'D':
        averageWaveform(app.song, waveformSlotOf(app.song, app.ui.currentInstrument), 2);
        rebuildPlaybackWaveform(app, waveformSlotOf(app.song, app.ui.currentInstrument));
        redrawWaveform(app, screen);
        break;
    case 'F':
        stepEnvelope(app.song, envelopeBankOf(app.song, app.ui.currentInstrument),
                     app.ui.envelopeCurve);
        redrawEnvelope(app, screen);
        break;
    case 'G':
        resetWaveform(app.song, waveformSlotOf(app.song, app.ui.currentInstrument),
                      app.ui.resetWaveformCycle);
        rebuildPlaybackWaveform(app, waveformSlotOf(app.song, app.ui.currentInstrument));
        redrawWaveform(app, screen);
        break;
    case 'L':
        toggleRecording(app, platform);
        updatePanel(app, screen, PanelId::PlayStopRecord);
        break;
    default:
        break;
    }
}

} // namespace

int selectedBpmDigit(const AppState& app) {
    for (int digit = 0; digit < kBpmDigitCount; ++digit)
        if (app.ui.bpmDigitSelected[digit]) return digit;
    return -1;
}

bool enterDigit(AppState& app, int value) {
    int selected = selectedBpmDigit(app);
    if (selected < 0) {
        int bank = value == 0 ? 9 : value - 1;
        int instrument = app.ui.currentInstrument;
        // While playing, entry 0 is the bank being played and is never overwritten.
        appendBank(app.song, instrument, bank, app.engine.playing ? 1 : 0);
        return false;
    }
    int digits[kBpmDigitCount];
    splitBpmDigits(app.song.BPM, digits);
    digits[selected] = value;
    float bpm = bpmFromDigits(digits);
    app.song.BPM = bpm < kSlowestTypedBpm ? kSlowestTypedBpm : bpm;
    rebuildStream(app);
    return true;
}

void jumpMeasure(AppState& app, bool forward) {
    for (int instrument = 0; instrument < kInstrumentCount; ++instrument) {
        int bank = forward ? nextBank(app.song, instrument) : previousBank(app.song, instrument);
        app.song.PatternIdx[instrument] = bank;
        restartAtBank(app, instrument);
    }
}

void onKeyDown(AppState& app, Screen& screen, Platform& platform, int key) {
    if (isDigitKey(key)) {
        if (enterDigit(app, key - '0'))
            redrawAfterTempoChange(app, screen);
        else
            updatePanel(app, screen, PanelId::NoteBankSequencer);
        return;
    }
    if (isLetterKey(key)) {
        onLetterKey(app, screen, platform, key);
        return;
    }
    switch (key) {
    case kKeyEnter:
        togglePlayback(app);
        updatePanel(app, screen, PanelId::PlayStopRecord);
        break;
    case kKeySpace:
        app.ui.currentInstrument = (app.ui.currentInstrument + 1) % kInstrumentCount;
        redrawInstrumentSwitch(app, screen);
        break;
    case kKeyLeft:
    case kKeyRight:
        jumpMeasure(app, key == kKeyLeft);
        updatePanel(app, screen, PanelId::NoteBankSequencer);
        break;
    case kKeyUp:
    case kKeyDown:
        scaleWaveform(app.song, waveformSlotOf(app.song, app.ui.currentInstrument),
                      key == kKeyUp ? kAmplifyFactor : kReduceFactor);
        rebuildPlaybackWaveform(app, waveformSlotOf(app.song, app.ui.currentInstrument));
        redrawWaveform(app, screen);
        break;
    case kKeyDelete:
        dropImportedSound(app);
        redrawWaveform(app, screen);
        break;
    default:
        break;
    }
}

bool bareKeyCommandRuns(int key, bool ctrlOrAltHeld) {
    const bool letterOrDigit = (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9');
    return !(letterOrDigit && ctrlOrAltHeld);
}
