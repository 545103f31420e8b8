// Mouse operation of the button and switch panels: instruments, volumes, tempo digits, note
// bank buttons and sequencer, envelope and wave buttons, play/stop/record.
#pragma once

class Platform;
struct AppState;

// Every press handler takes panel-local (x, y) and returns true when it changed something.

// Instrument buttons: selects the instrument under x.
bool pressInstrumentButtons(AppState& app, int x, int y);

// Instrument control: mute switch (pending while playing, at once while stopped), octave and
// volume of the instrument under x; octave and volume start a drag.
bool pressInstrumentControl(AppState& app, int x, int y);
bool dragInstrumentControl(AppState& app, int y);

// Main volume control: the left columns set the left gain, the right columns the right gain,
// the middle column both. Presses outside the panel are ignored.
bool pressMainVolume(AppState& app, int x, int y);
bool dragMainVolume(AppState& app, int x, int y);

// BPM display: selects the digit under x for typed digits.
bool pressBpmDisplay(AppState& app, int x, int y);

// Note bank buttons: a left press shows a bank or changes the bank length; a right press adds
// the bank to the current instrument's play order.
bool pressNoteBankButtons(AppState& app, int x, int y);
bool rightPressNoteBankButtons(AppState& app, int x, int y);

// Note bank sequencer: removes an entry (and selects its instrument) or toggles the stack mode.
bool pressNoteBankSequencer(AppState& app, int x, int y);

// Envelope buttons and wave buttons: select the current instrument's envelope bank or waveform.
bool pressEnvelopeButtons(AppState& app, int x, int y);
bool pressWaveButtons(AppState& app, int x, int y);

// Play, stop and record buttons. Stop also ends a running recording at once.
bool pressPlayStopRecord(AppState& app, Platform& platform, int x, int y);
