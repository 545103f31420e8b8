// Scripted sessions for the shell tests: started as the windowed program starts, driven by
// script text, with the window picture of a panel at hand.
#pragma once

#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/script_session.h"
#include "app/startup.h"
#include "ui/panel_layout.h"

struct ShellSession {
    std::ostringstream protocol; // message, beep and title lines
    std::ostringstream errors;
    VirtualSoundDevice device;
    std::unique_ptr<AppState> state = std::make_unique<AppState>();
    std::unique_ptr<ScriptSession> session;

    ShellSession() {
        initAppState(*state, device);
        session = std::make_unique<ScriptSession>(*state, device, protocol);
        startScriptSession(*session);
    }
    ~ShellSession() {
        endScriptSession(*session);
        shutdownApp(state);
    }

    AppState& app() { return *state; }
    Song& song() { return state->song; }
    // The song differs from what was last opened or saved.
    bool modified() { return session->edits.history.modified(); }

    // Runs script text; returns the exit code of the run.
    int run(const std::string& script) {
        std::istringstream in(script);
        return runScript(*session, in, errors);
    }

    // The pixels of a panel's rectangle as the window shows them.
    std::vector<uint8_t> shown(PanelId id) const {
        const PanelSurface& picture = session->screen.display.picture;
        const PanelRect& rect = panelRect(session->screen.layout, id);
        std::vector<uint8_t> pixels;
        for (int y = rect.top; y < rect.bottom; ++y) {
            const uint8_t* row = picture.pixels.data() + static_cast<size_t>(y) * picture.pitch;
            pixels.insert(pixels.end(), row + rect.left * picture.bytesPerPixel,
                          row + rect.right * picture.bytesPerPixel);
        }
        return pixels;
    }
};
