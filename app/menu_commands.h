// The menu commands: what each menu item does and which panels redraw after it.
#pragma once

class Platform;
struct AppState;
struct MenuState;
struct Screen;

enum class MenuOutcome {
    Continue,       // the program goes on
    Exit,           // File > Exit: the window closes and the program ends with code 0
    NothingUnsaved, // New, or an Open or Save that succeeded: the song matches its file
};

// Every panel rendered and presented again, the help line for no pointer position: what File >
// Open and File > New show.
void redrawEverything(AppState& app, Screen& screen);

// After a song was opened (File > Open, or a song recovered at start): every panel again, and
// every instrument's knobs and delays handed to the engine.
void showOpenedSong(AppState& app, Screen& screen);

// One menu command by its id. A grayed Paste item and an unknown id do nothing (the windowed
// program never receives them). `menu` gains its enabled Paste items and moved check marks.
// New, Open, Open Recent and Exit first ask "Save changes to NAME?" when `songModified` (the
// song differs from what was last opened or saved).
MenuOutcome onMenuCommand(AppState& app, Screen& screen, Platform& platform, MenuState& menu,
                          int id, bool songModified);
