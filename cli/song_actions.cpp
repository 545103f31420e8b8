// The song actions of humbrook-render.
#include "cli/song_actions.h"

#include "app/app_state.h"
#include "app/song_commands.h"
#include "cli/options.h"

bool runSongActions(AppState& app, const CliOptions& options, Platform& platform) {
    const bool opened = !options.songPath.empty() && openSongPath(app, options.songPath, platform);
    if (!options.savePath.empty()) saveSongToPath(app.song, options.savePath, platform);
    return opened;
}

int songActionsExitStatus(bool warningShown) {
    return warningShown ? 1 : 0;
}
