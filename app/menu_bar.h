// The menu bar: command ids, captions, and the state of its Paste items and Options checks.
#pragma once

#include <string>

enum MenuCommand : int {
    kMenuNew = 40058,
    kMenuOpen = 40038,
    kMenuSave = 40039,
    kMenuSaveAs = 40063,
    kMenuSaveRecordedWave = 40048,
    kMenuExportSong = 40066,
    kMenuImportWave = 40057,
    kMenuExit = 10001,
    kMenuCopyPattern = 40049,
    kMenuPastePattern = 40050,
    kMenuCopyEnvelope = 40051,
    kMenuPasteEnvelope = 40052,
    kMenuCopyWaveform = 40053,
    kMenuPasteWaveform = 40054,
    kMenuCopyEffects = 40055,
    kMenuPasteEffects = 40056,
    kMenuNoteLatency1 = 40042,
    kMenuNoteLatency2 = 40043,
    kMenuNoteLatency3 = 40044,
    kMenuSampleRate22050 = 40046,
    kMenuSampleRate44100 = 40047,
    kMenuZoomIn = 40060,
    kMenuZoomOut = 40061,
    kMenuActualSize = 40062,
    kMenuUndo = 40064,
    kMenuRedo = 40065,
    kMenuSoundDevice = 40067,
    kMenuAbout = 40059,
    kMenuHelp = 40041,
    // File > Open Recent: the recent songs of the settings, newest first, one id each.
    kMenuOpenRecentFirst = 40070,
    kMenuOpenRecentLast = 40077,
};

// One item of the menu bar, in the order the menus list them. `menu` is the title of the menu
// that holds it, `submenu` the title of its submenu or nullptr. A '&' marks the mnemonic.
struct MenuItemSpec {
    const char* menu;
    const char* submenu;
    const char* caption;
    int id;
};

inline constexpr MenuItemSpec kMenuItems[] = {
    {"&File", nullptr, "&New", kMenuNew},
    {"&File", nullptr, "&Open", kMenuOpen},
    {"&File", nullptr, "&Save", kMenuSave},
    {"&File", nullptr, "Save &As...", kMenuSaveAs},
    {"&File", nullptr, "Save &Recorded Wave", kMenuSaveRecordedWave},
    {"&File", nullptr, "&Export Song...", kMenuExportSong},
    {"&File", nullptr, "&Import Wave", kMenuImportWave},
    {"&File", nullptr, "E&xit\t", kMenuExit},
    {"&Edit", nullptr, "Undo", kMenuUndo},
    {"&Edit", nullptr, "Redo", kMenuRedo},
    {"&Edit", nullptr, "Copy Pattern", kMenuCopyPattern},
    {"&Edit", nullptr, "Paste Pattern", kMenuPastePattern},
    {"&Edit", nullptr, "Copy Envelope", kMenuCopyEnvelope},
    {"&Edit", nullptr, "Paste Envelope", kMenuPasteEnvelope},
    {"&Edit", nullptr, "Copy Waveform", kMenuCopyWaveform},
    {"&Edit", nullptr, "Paste Waveform", kMenuPasteWaveform},
    {"&Edit", nullptr, "Copy Effects", kMenuCopyEffects},
    {"&Edit", nullptr, "Paste Effects", kMenuPasteEffects},
    {"&View", nullptr, "Zoom &In", kMenuZoomIn},
    {"&View", nullptr, "Zoom &Out", kMenuZoomOut},
    {"&View", nullptr, "&Actual Size", kMenuActualSize},
    {"&Options", "Note Latency", "1", kMenuNoteLatency1},
    {"&Options", "Note Latency", "2", kMenuNoteLatency2},
    {"&Options", "Note Latency", "3", kMenuNoteLatency3},
    {"&Options", "Sample Rate", "22050", kMenuSampleRate22050},
    {"&Options", "Sample Rate", "44100", kMenuSampleRate44100},
    {"&Options", nullptr, "Sound &Device...", kMenuSoundDevice},
    {"&Help", nullptr, "&Help", kMenuHelp},
    {"&Help", nullptr, "&About", kMenuAbout},
};

// File > Open Recent follows File > Open; its items are the recent songs, listed by the window.

// The View items and Sound Device act on the window and the sound output, not on the song: the
// windowed program handles them itself, and elsewhere they do nothing.

// The Paste items, in the order of MenuState::pasteEnabled.
inline constexpr int kPasteItems[4] = {kMenuPastePattern, kMenuPasteEnvelope, kMenuPasteWaveform,
                                       kMenuPasteEffects};

// What the menu bar shows besides its captions. It lives outside AppState: New replaces the
// AppState, but a Paste item once enabled stays enabled.
struct MenuState {
    int pasteEnabled[4] = {};      // Pattern, Envelope, Waveform, Effects; grayed until copied
    int checkedNoteLatency = 1;    // 1..3
    int checkedSampleRate = 22050; // 22050 or 44100
    std::string undoAction;        // the step Undo takes back ("Draw Notes"), empty: grayed
    std::string redoAction;        // the step Redo applies again, empty: grayed
};

// The caption of recent song `index` (0 = newest): its number as the mnemonic, then the path,
// with the characters a menu caption gives a meaning to ('&') doubled so that they show.
std::string recentSongCaption(int index, const std::string& path);

// Whether the item with this id is grayed (Paste items, Undo and Redo can be).
bool menuItemGrayed(const MenuState& menu, int id);
// The caption the item shows: Undo and Redo name their action ("Undo Draw Notes"), the others
// show their caption of kMenuItems; empty for an unknown id.
std::string menuItemCaption(const MenuState& menu, int id);
// Whether the item with this id carries a check mark (only Options items can).
bool menuItemChecked(const MenuState& menu, int id);
