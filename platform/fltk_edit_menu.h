// The window side of Edit > Undo and Redo: their captions in the menu bar and their keys.
#pragma once

class Fl_Menu_Bar;
struct MenuState;

// The Undo and Redo items show the captions MenuState gives them ("Undo Draw Notes").
void showHistoryCaptions(Fl_Menu_Bar& bar, const MenuState& menu);

// The keys of Undo (Ctrl+Z) and Redo (Ctrl+Shift+Z) that the menu shows; 0 for other items.
int historyItemShortcut(int id);

// The Edit item a key press in the window chooses: Undo for Ctrl+Z, Redo for Ctrl+Shift+Z and
// Ctrl+Y, even while the item is grayed (then it does nothing); 0 for every other key.
int historyKeyItem();
