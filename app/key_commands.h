// The keyboard commands: what each key does to the AppState and which panels redraw after it.
#pragma once

class Platform;
struct AppState;
struct Screen;

// One key press (auto-repeats count as presses), by its code (app/key_codes.h). Keys without a
// command do nothing. Platform is needed by L, whose start of a recording can fail.
void onKeyDown(AppState& app, Screen& screen, Platform& platform, int key);

// The BPM digit that receives typed digits, 0..4, or -1 when none is selected.
int selectedBpmDigit(const AppState& app);

// The digit keys: with a BPM digit selected the key's value replaces that digit of the tempo
// (at least 10 BPM) and the stream is rebuilt; otherwise keys 1..9 and 0 queue note banks 0..9
// for the current instrument. Returns true when a BPM digit was selected.
bool enterDigit(AppState& app, int value);

// Left (forward) and Right (back) arrows: every instrument moves to the next or previous entry
// of its play order and restarts at that bank's first step.
void jumpMeasure(AppState& app, bool forward);

// Whether a key press runs the key's own command: a letter or digit held with Ctrl or Alt does
// not (Ctrl+S is File > Save, not the sliding toggle S); the other keys do whatever is held.
bool bareKeyCommandRuns(int key, bool ctrlOrAltHeld);
