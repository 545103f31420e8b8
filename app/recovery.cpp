// Recovering a song that autosave kept.
#include "app/recovery.h"

#include <vector>

#include "app/app_state.h"
#include "app/autosave.h"
#include "app/edit_session.h"
#include "app/file_dialog_names.h"
#include "app/menu_commands.h"
#include "app/platform.h"
#include "app/product_info.h"
#include "app/song_commands.h"
#include "files/autosave_store.h"

namespace {

std::string keptAt(std::time_t when) {
    std::tm local{};
    char text[32];
    if (localtime_r(&when, &local) == nullptr ||
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local) == 0)
        return "an unknown time";
    return text;
}

// Opens the kept song from `folder`; its title and file are those it had.
bool recoverFrom(AppState& app, Platform& platform, const std::string& folder,
                 const std::string& originalPath) {
    if (!loadSongFromPath(app, pathInFolder(folder, kAutosaveSongName), platform)) return false;
    app.songPath = originalPath;
    platform.setWindowTitle(originalPath.empty() ? startupWindowTitle()
                                                 : songWindowTitle(originalPath));
    return true;
}

} // namespace

std::string recoveryOfferText(const LeftAutosave& left) {
    const std::string name =
        left.originalPath.empty() ? "an untitled song" : fileNameOf(left.originalPath);
    return "Humbrook ended without saving the changes to " + name + ". Autosave kept them at " +
           keptAt(left.savedAt) + ".\nRecover them, discard them, or decide later?";
}

bool offerLeftAutosaves(AppState& app, Platform& platform, Autosaver& autosaver) {
    for (const LeftAutosave& left : findLeftAutosaves(autosaver.root())) {
        switch (platform.askRecovery(recoveryOfferText(left))) {
        case RecoveryAnswer::Recover:
            // Adopted, the kept song stays on disk until this program saves or discards it.
            if (autosaver.adopt(left.folder))
                return recoverFrom(app, platform, autosaver.folder(), left.originalPath);
            return recoverFrom(app, platform, left.folder, left.originalPath);
        case RecoveryAnswer::Discard:
            discardLeftAutosave(left);
            break;
        case RecoveryAnswer::Later:
            return false;
        }
    }
    return false;
}

void offerRecovery(InputTargets& targets, Autosaver& autosaver) {
    if (!offerLeftAutosaves(targets.app, targets.platform, autosaver)) return;
    showOpenedSong(targets.app, targets.screen);
    const std::string title =
        targets.app.songPath.empty() ? startupWindowTitle() : songWindowTitle(targets.app.songPath);
    startEditSession(targets.edits, targets.menu, targets.app.song, {title, targets.app.songPath});
    markSongModified(targets.edits, targets.platform);
}
