// What the keyboard and Edit-menu tools act on: the current instrument's slot and shown curve.
#pragma once

struct AppState;

// Whether the current instrument is one of 0..3 (the mouse and key handlers check before use).
bool currentInstrumentValid(const AppState& app);

// The current instrument's waveform slot 0..7, or -1 when its SoundIdx is out of range (a
// damaged song file can store anything there).
int currentWaveformSlot(const AppState& app);

// The curve the envelope editor shows (envelopeCurve) of the current instrument's envelope bank
// (EnvIdx): kEnvelopePoints floats, or nullptr when the bank or curve index is out of range.
float* shownEnvelopeCurve(AppState& app);

// The current instrument's envelope bank 0..7, or -1 when its EnvIdx is out of range.
int currentEnvelopeBank(const AppState& app);
