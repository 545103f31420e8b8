// Geometry inside the panels that a renderer draws and its mouse handler hit-tests, in panel
// pixels: kept in one place so that a press lands on what the picture shows there.
#pragma once

// Button rows (note bank, instrument, envelope and wave buttons): buttons take rows 0..22.
inline constexpr int kButtonRowHeight = 23;
inline constexpr int kBankButtonWidth = 26;                   // ten note bank buttons from 0
inline constexpr int kBankLengthLeft = 10 * kBankButtonWidth; // the bank length switch
inline constexpr int kInstrumentButtonWidth = 51; // also an instrument's part of the control
inline constexpr int kEnvelopeButtonWidth = 38;
inline constexpr int kWaveButtonWidth = 44;

// Note bank sequencer: a row per instrument; the play-order mode switch, then the entries.
inline constexpr int kSequencerRowHeight = 23;
inline constexpr int kSequencerEntryWidth = 23; // the mode switch and each entry

// Note pad: 16 step columns by 24 note rows, the highest note at the top.
inline constexpr int kNoteCellWidth = 25;
inline constexpr int kNoteCellHeight = 8;
inline constexpr int kNoteGridLeft = 4;
inline constexpr int kNoteGridTop = 4;

// Chord keys: 50 key columns for the semitone offsets -25..24; a key's level 1 reaches row 4
// and level 0 row 34.
inline constexpr int kChordKeysLeft = 4;
inline constexpr int kChordKeysTop = 4;
inline constexpr int kChordKeyWidth = 7;
inline constexpr int kChordKeyColumns = 50;
inline constexpr int kChordLowestOffset = -25; // offset of column 0
inline constexpr int kChordLevelRows = 30;

// Pan and velocity: the PAN/VEL switch, then the bars of the 16 steps of the bank in view spread
// over 401 columns; value 1 reaches row 4 and value 0 row 42.
inline constexpr int kPanSwitchWidth = 11;
inline constexpr int kStepBarsLeft = 15;
inline constexpr int kStepBarsSpan = 401;
inline constexpr int kStepBarsTop = 4;
inline constexpr int kStepBarsTravel = 38;

// Play, stop and record: two rows of 22 pixels for each button, then the recorded count.
inline constexpr int kTransportRowHeight = 22;
