// The question before a modified song is left.
#include "app/unsaved_changes.h"

#include "app/app_state.h"
#include "app/platform.h"
#include "app/song_commands.h"

std::string saveChangesQuestion(const AppState& app) {
    return "Save changes to " + songDisplayName(app) + "?";
}

SongLeaving askToLeaveSong(AppState& app, Platform& platform, bool modified) {
    if (!modified) return SongLeaving::Leave;
    switch (platform.askSaveChanges(saveChangesQuestion(app))) {
    case SaveChangesAnswer::Save:
        return saveSong(app, platform) ? SongLeaving::SavedFirst : SongLeaving::Stay;
    case SaveChangesAnswer::DontSave:
        return SongLeaving::Leave;
    case SaveChangesAnswer::Cancel:
        break;
    }
    return SongLeaving::Stay;
}
