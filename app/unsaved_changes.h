// "Save changes to NAME?": asked before a modified song is replaced or the program ends.
#pragma once

#include <string>

struct AppState;
class Platform;

// The question for the current song, named as songDisplayName names it.
std::string saveChangesQuestion(const AppState& app);

// What became of the song before it was to be left.
enum class SongLeaving {
    Stay,       // Cancel, or a Save that was cancelled or failed: nothing may happen
    SavedFirst, // the user chose Save and the song was written: it matches its file now
    Leave,      // the song was not modified, or the user chose Don't Save
};

// Before New, Open, Open Recent, Exit and closing the window, for a song that is `modified`
// (differs from what was last opened or saved): asks, and saves when the user chooses Save
// (asking for a path like Save As when the song has no file).
SongLeaving askToLeaveSong(AppState& app, Platform& platform, bool modified);
