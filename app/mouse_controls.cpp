// Mouse operation of the button and switch panels: instruments, volumes, tempo digits, note
// bank buttons and sequencer, envelope and wave buttons, play/stop/record.
#include "app/mouse_controls.h"

#include <algorithm>

#include "app/app_state.h"
#include "app/playback.h"
#include "app/recording_control.h"
#include "engine/sequencer.h"
#include "files/recording.h"
#include "tools/current_selection.h"
#include "ui/panel_geometry.h"

namespace {

constexpr int kInstrumentButtonsWidth = kInstrumentCount * kInstrumentButtonWidth; // 204
constexpr int kMainVolumeWidth = 83;
constexpr int kMainVolumeHeight = 131;
constexpr int kBpmWidth = 83;
constexpr int kBpmDigits = 5;
constexpr int kEnvelopeButtonsWidth = kEnvelopeBankCount * kEnvelopeButtonWidth; // 304
constexpr int kWaveButtonsWidth = kWaveformSlotCount * kWaveButtonWidth;         // 352

bool onButtonRow(int y) {
    return y >= 0 && y < kButtonRowHeight;
}

// Octave under y: 3 at the top, one lower every 11 pixels, never below 0 or above 3.
int octaveAt(int y) {
    const int down = (y - 23) / 11;
    return down >= 4 ? 0 : std::min(3, 3 - down);
}

float instrumentVolumeAt(int y) {
    return std::clamp(1.0f - static_cast<float>(y - 4) / 60.0f, 0.0f, 1.0f);
}

void toggleMute(AppState& app, int instrument) {
    Song& song = app.song;
    if (app.engine.playing) {
        // Heard from the next note-bank boundary on.
        app.engine.pendingMuteToggle[instrument] = !app.engine.pendingMuteToggle[instrument];
    } else {
        song.Mute[instrument] = !song.Mute[instrument];
        app.engine.pendingMuteToggle[instrument] = 0;
    }
}

// The main volume column 0..4 decides the side, with the drag mode from before this event.
void setMainVolume(AppState& app, int column, float fraction) {
    DragState& drag = app.drag;
    const float value = std::clamp(1.0f - (fraction - 0.13f) * 1.38f, 0.0f, 1.0f);
    const int mode = drag.mainVolumeDragMode;
    if (column <= 2 && mode != 1) app.song.MainVolume[0] = value;
    if (column >= 2 && mode != 0) app.song.MainVolume[1] = value;
    drag.mainVolumeDragMode = column < 2 ? 0 : column == 2 ? 2 : 1;
}

float mainVolumeFraction(int y) {
    return static_cast<float>(y) / static_cast<float>(kMainVolumeHeight);
}

} // namespace

bool pressInstrumentButtons(AppState& app, int x, int y) {
    if (x < 0 || !onButtonRow(y)) return false;
    const int button = x * kInstrumentCount / kInstrumentButtonsWidth;
    if (button >= kInstrumentCount) return false;
    app.ui.currentInstrument = button;
    return true;
}

bool pressInstrumentControl(AppState& app, int x, int y) {
    if (x < 0 || y < 0 || y > 68) return false;
    const int column = x * 8 / kInstrumentButtonsWidth; // volume and octave of each instrument
    if (column > 7) return false;
    const int instrument = column / 2;
    DragState& drag = app.drag;
    if (column % 2 == 0 && y <= 22) {
        toggleMute(app, instrument);
    } else if (column % 2 == 0) {
        app.song.Oct[instrument] = octaveAt(y);
        drag.instrumentDragIndex = instrument;
        drag.instrumentDragOctave = 1;
    } else {
        app.song.Volume[instrument] = instrumentVolumeAt(y);
        drag.instrumentDragIndex = instrument;
        drag.instrumentDragOctave = 0;
    }
    return true;
}

bool dragInstrumentControl(AppState& app, int y) {
    const int instrument = app.drag.instrumentDragIndex;
    if (instrument < 0 || instrument >= kInstrumentCount) return false;
    if (app.drag.instrumentDragOctave)
        app.song.Oct[instrument] = octaveAt(y);
    else
        app.song.Volume[instrument] = instrumentVolumeAt(y);
    return true;
}

bool pressMainVolume(AppState& app, int x, int y) {
    // Only inside the panel: the truncating column formula would also give column 0 for the
    // sixteen pixels left of it, and the fraction 1 is the row below it.
    if (x < 0 || y >= kMainVolumeHeight) return false;
    const int column = x * 5 / kMainVolumeWidth;
    const float fraction = mainVolumeFraction(y);
    if (column > 4 || fraction < 0.0f || fraction > 1.0f) return false;
    app.drag.mainVolumeDragMode = -1;
    setMainVolume(app, column, fraction);
    return true;
}

bool dragMainVolume(AppState& app, int x, int y) {
    setMainVolume(app, x / (kMainVolumeWidth / 5), mainVolumeFraction(y));
    return true;
}

bool pressBpmDisplay(AppState& app, int x, int y) {
    if (x - 4 < 0 || !onButtonRow(y)) return false;
    const int digit = (x - 4) * kBpmDigits / (kBpmWidth - 8);
    // The last four pixels of the panel would name a sixth digit.
    if (digit >= kBpmDigits) return false;
    for (int& selected : app.ui.bpmDigitSelected) selected = 0;
    app.ui.bpmDigitSelected[digit] = 1;
    return true;
}

bool pressNoteBankButtons(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || x < 0 || x > 285 || !onButtonRow(y))
        return false;
    const int instrument = app.ui.currentInstrument;
    if (x < kBankLengthLeft) {
        app.drag.viewOffset[instrument] = x / kBankButtonWidth * kStepsPerBank;
    } else {
        int& length = app.song.BPMsr[instrument];
        length = std::clamp(y <= 10 ? length + 1 : length - 1, 1, kStepsPerBank);
    }
    return true;
}

bool rightPressNoteBankButtons(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || x < 0 || x > 285 || !onButtonRow(y))
        return false;
    if (x < kBankLengthLeft)
        appendBank(app.song, app.ui.currentInstrument, x / kBankButtonWidth,
                   app.engine.playing ? 1 : 0);
    return true;
}

bool pressNoteBankSequencer(AppState& app, int x, int y) {
    if (x < 0 || x > 206 || y < 0 || y > 91) return false;
    const int instrument = y / kSequencerRowHeight;
    BankStack& stack = app.song.PatternStack[instrument];
    if (x >= kSequencerEntryWidth) {
        removeStackEntry(stack, (x - kSequencerEntryWidth) / kSequencerEntryWidth);
        app.ui.currentInstrument = instrument;
    } else {
        stack.stackMode = stack.stackMode == kStackRotate ? kStackConsume : kStackRotate;
    }
    return true;
}

bool pressEnvelopeButtons(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || x < 0 || !onButtonRow(y)) return false;
    const int button = x * kEnvelopeBankCount / kEnvelopeButtonsWidth;
    if (button >= kEnvelopeBankCount) return false;
    app.song.EnvIdx[app.ui.currentInstrument] = button;
    return true;
}

bool pressWaveButtons(AppState& app, int x, int y) {
    if (!validInstrument(app.ui.currentInstrument) || x < 0 || !onButtonRow(y)) return false;
    const int button = x * kWaveformSlotCount / kWaveButtonsWidth;
    if (button >= kWaveformSlotCount) return false;
    app.song.SoundIdx[app.ui.currentInstrument] = button;
    rebuildPlaybackWaveform(app, button);
    return true;
}

bool pressPlayStopRecord(AppState& app, Platform& platform, int x, int y) {
    if (y < 0 || x < 0 || x > 45) return false;
    switch (y / kTransportRowHeight) {
    case 0:
    case 1:
        startPlayback(app);
        return true;
    case 2:
    case 3:
        stopPlayback(app);
        if (app.recording.active) endRecordingFile(app.recording);
        // The recording has ended: a stop still pending would end the next one at its first
        // measure end.
        app.recording.stopRequested = 0;
        return true;
    case 4:
    case 5:
        toggleRecording(app, platform);
        return true;
    default:
        return false;
    }
}
