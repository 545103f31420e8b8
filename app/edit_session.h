// The one place every input event passes: a key press, a menu command, a click or a whole drag is
// one gesture, and what it changed in the song becomes one step of the edit history.
#pragma once

#include <string>

#include "app/edit_history.h"
#include "app/menu_commands.h"

class Platform;
struct AppState;
struct MenuState;
struct Screen;

enum class InputKind { Key, Menu, LeftDown, Move, LeftUp, RightDown };

struct InputEvent {
    InputKind kind = InputKind::Key;
    int first = 0;  // key code (app/key_codes.h), menu id or x in client pixels
    int second = 0; // y in client pixels
};

// The history, the gesture in progress and the window title. It lives beside the AppState, not
// in it: File > New replaces the AppState and is undone from here.
struct EditSession {
    EditHistory history;
    std::string title;        // the title as the commands last set it, without the mark
    std::string shownTitle;   // the title the window shows: a leading '*' while modified
    bool gestureOpen = false; // started and not yet recorded
    std::string gestureName;  // its action name
    bool typingTempo = false; // the open gesture types the tempo: digit keys continue it
};

// Everything an input event reaches.
struct InputTargets {
    AppState& app;
    Screen& screen;
    Platform& platform;
    MenuState& menu;
    EditSession& edits;
};

// Starts the history on the song as it is now, unmodified, under the title the window shows and
// belonging to the file of `label` (none: empty). `menu` shows Undo and Redo grayed.
void startEditSession(EditSession& edits, MenuState& menu, const Song& song,
                      const SongLabel& label);

// Delivers one event to its handler (app/key_commands.h, app/menu_commands.h, app/mouse.h) as
// part of a gesture. A gesture starts with a key press, a menu command, a left or right press;
// it ends with the key or command handled, the left button released, or (for typed tempo
// digits) the next event that is not a digit typed into the selected BPM digit. At its end, a
// change to the song is recorded as one step, named after the key, menu item or panel. Edit >
// Undo and Redo (kMenuUndo, kMenuRedo) end any gesture and then take back or apply a step. New,
// a successful Open and Save mark the song unmodified. Afterwards the menu's Undo and Redo
// items and the title's modified mark follow the history.
MenuOutcome deliverInput(InputTargets& targets, const InputEvent& event);

// For the file commands: the song as it is now was saved, or counts as modified until the next
// save (a recovered song); the title follows.
void markSongSaved(EditSession& edits, Platform& platform);
void markSongModified(EditSession& edits, Platform& platform);

// Whether the song differs from what was last opened or saved, counting a gesture that is not
// yet recorded (tempo digits being typed, a drag): for the autosave, the close box and the
// signals, which come between gestures.
bool songModified(EditSession& edits, AppState& app);
