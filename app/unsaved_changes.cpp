// The question before a modified song is left.
#include "app/unsaved_changes.h"

#include "app/app_state.h"
#include "app/platform.h"
#include "app/song_commands.h"

std::string saveChangesQuestion(const AppState& app) {
    return "Save changes to " + songDisplayName(app) + "?";
}

bool songMayBeLeft(AppState& app, Platform& platform) {
    if (!app.history.modified()) return true;
    switch (platform.askSaveChanges(saveChangesQuestion(app))) {
    case SaveChangesAnswer::Save:
        return saveSong(app, platform);
    case SaveChangesAnswer::DontSave:
        return true;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return false;
}
