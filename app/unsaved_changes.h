// "Save changes to NAME?": asked before a modified song is replaced or the program ends.
#pragma once

#include <string>

struct AppState;
class Platform;

// The question for the current song, named as songDisplayName names it.
std::string saveChangesQuestion(const AppState& app);

// Before New, Open, Open Recent, Exit and closing the window. True when the action may go on:
// the song is not modified, the user chose Don't Save, or chose Save and the song was saved
// (asking for a path like Save As when it has no file). Cancel, and a Save that was cancelled or
// failed, give false and leave everything as it was.
bool songMayBeLeft(AppState& app, Platform& platform);
