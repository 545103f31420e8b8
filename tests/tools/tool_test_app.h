// A fresh application state after New, for the tools tests.
#pragma once

#include <memory>

#include "app/app_state.h"
#include "tools/reset_song.h"

inline std::unique_ptr<AppState> newSongApp() {
    auto app = std::make_unique<AppState>();
    resetSong(app->song, app->clipboards, app->ui.currentInstrument);
    return app;
}
