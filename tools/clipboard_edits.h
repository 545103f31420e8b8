// Copy and paste of a note bank, an envelope curve, a waveform and effect settings.
#pragma once

struct AppState;

// The note bank in view of the current instrument (drag.viewOffset, its first step): copy takes
// its 16 steps, every row and all three grid values, and their pan and velocity; paste writes
// them back over the same places. A view that does not lie wholly inside the grid is neither
// copied nor pasted.
void copyPattern(AppState& app);
void pastePattern(AppState& app);

// Points 0..300 of the curve the envelope editor shows in the current instrument's bank. Paste
// then sets that bank's Envelope point 300 to 0 and its Pitch point 300 to Pitch point 299,
// whichever curve was pasted.
void copyEnvelope(AppState& app);
void pasteEnvelope(AppState& app);

// The 350 Sound samples of the current instrument's slot (not its knobs, not a sound file).
// Paste rebuilds the slot and leaves SoundType alone: a sound-file slot keeps playing its file.
void copyWaveform(AppState& app);
void pasteWaveform(AppState& app);

// The 16 effect knob values of the current instrument (not labels, axes or delays). After a
// paste the caller hands the new values to the engine (recordKnobChange).
void copyEffects(AppState& app);
void pasteEffects(AppState& app);
