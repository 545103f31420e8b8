// What the Edit menu calls the step of each key, menu command and mouse gesture: "Undo Draw
// Notes", "Redo Paste Waveform".
#pragma once

#include <string>

struct PanelLayout;

// The action of a key press (app/key_codes.h); a digit names a typed tempo while a BPM digit
// is selected, a queued note bank otherwise.
std::string keyActionName(int key, bool bpmDigitSelected);

// The caption of the menu item without its mnemonic mark; "Edit" for an unknown id.
std::string menuActionName(int id);

// The action of a left (or right) press at the client position x, y: named after the panel
// there; "Edit" outside every panel that takes the mouse.
std::string mouseActionName(const PanelLayout& layout, int x, int y, bool rightButton);
