// Copy and paste of a note bank, an envelope curve, a waveform and effect settings.
#pragma once

#include "model/song.h"
#include "tools/clipboards.h"

// The note bank of `instrument` that starts at step `firstStep` (the bank in view): copy takes
// its 16 steps, every row and all three grid values, and their pan and velocity; paste writes
// them back over the same places. A bad instrument or a bank that does not lie wholly inside
// the grid is neither copied nor pasted.
void copyPattern(const Song& song, Clipboards& clipboards, int instrument, int firstStep);
void pastePattern(Song& song, const Clipboards& clipboards, int instrument, int firstStep);

// Points 0..300 of curve `curve` of envelope bank `bank`. Paste then sets that bank's Envelope
// point 300 to 0 and its Pitch point 300 to Pitch point 299, whichever curve was pasted. Bad
// indices do nothing.
void copyEnvelope(const Song& song, Clipboards& clipboards, int bank, int curve);
void pasteEnvelope(Song& song, const Clipboards& clipboards, int bank, int curve);

// The 350 Sound samples of waveform `slot` (not its knobs, not a sound file). Paste leaves
// SoundType alone (a sound-file slot keeps playing its file); the caller then rebuilds the slot's
// playback form. A bad slot does nothing.
void copyWaveform(const Song& song, Clipboards& clipboards, int slot);
void pasteWaveform(Song& song, const Clipboards& clipboards, int slot);

// The 16 effect knob values of `instrument` (not labels, axes or delays); a bad instrument does
// nothing. After a paste the caller hands the new values to the engine (recordKnobChange).
void copyEffects(const Song& song, Clipboards& clipboards, int instrument);
void pasteEffects(Song& song, const Clipboards& clipboards, int instrument);
