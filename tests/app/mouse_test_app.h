// A fresh application state after New, for the mouse handler tests.
#pragma once

#include <memory>

#include "app/app_state.h"
#include "app/startup.h"

inline std::unique_ptr<AppState> mouseTestApp() {
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    return app;
}
