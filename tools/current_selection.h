// What the keyboard and Edit-menu tools act on: an instrument's waveform slot and envelope bank,
// and a curve of a bank, each rejecting the bad indices a damaged song file can hold.
#pragma once

#include "model/song.h"

// Whether an instrument index is one of 0..3 (the mouse and key handlers check before use).
bool validInstrument(int instrument);

// The instrument's waveform slot 0..7, or -1 when the instrument or its SoundIdx is out of range.
int waveformSlotOf(const Song& song, int instrument);

// The instrument's envelope bank 0..7, or -1 when the instrument or its EnvIdx is out of range.
int envelopeBankOf(const Song& song, int instrument);

// Curve `curve` (0 amplitude, 1 pitch, 2 cutoff, 3 ratio) of envelope bank `bank`:
// kEnvelopePoints floats, or nullptr when the bank or curve index is out of range.
const float* envelopeCurveOf(const Song& song, int bank, int curve);
float* envelopeCurveOf(Song& song, int bank, int curve);
