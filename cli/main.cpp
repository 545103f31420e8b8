// humbrook-render: the headless front end. Runs the actions its options ask for, in order.
#include "app/app_state.h"
#include "app/playback.h"
#include "app/script_session.h"
#include "app/scripted_platform.h"
#include "app/song_render.h"
#include "app/startup.h"
#include "cli/options.h"
#include "cli/screenshot_action.h"
#include "cli/song_actions.h"
#include "engine/virtual_sound_device.h"
#include "ui/screen.h"

#include <cstdio>
#include <iostream>
#include <memory>

namespace {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

int fail(const std::string& message) {
    std::fprintf(stderr, "humbrook-render: %s\n", message.c_str());
    return kExitFailure;
}

// -o: the song as the earlier actions left it, from where the random sequence stands now.
bool renderOutput(const AppState& app, const CliOptions& options, std::string& error) {
    auto source = std::make_unique<RenderSource>();
    source->song = app.song;
    source->playbackWaveforms = app.engine.playbackWaveforms;
    source->sampleRate = app.stream.format.sampleRate;
    source->noteLatency = app.engine.noteLatency;
    source->randomState = currentRandomState();
    const RenderRequest request = {options.renderOutput, options.renderSteps, options.renderFormat,
                                   options.renderOnce,   options.renderTail,  options.renderStems};
    RenderProgress progress;
    return renderSongFiles(*source, request, progress, error) == RenderOutcome::Written;
}

} // namespace

// Standard output carries nothing but protocol lines; messages go to standard error.
int main(int argc, char** argv) {
    CliOptions options;
    std::string error;
    if (!parseCliOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "humbrook-render: %s\n%s\n", error.c_str(), kCliUsage);
        return kExitUsage;
    }

    // The device outlives the AppState, as in the windowed program.
    VirtualSoundDevice device;
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    app->stream.device = &device;
    app->engine.noteLatency = options.noteLatency;
    setSampleRate(*app, options.sampleRate); // builds the stream

    // Actions, in this order: load the song, save it, screenshot, script, render.
    // Message boxes, beeps and title changes become protocol lines on standard output.
    ScriptedPlatform platform(std::cout);
    // The screenshot's screen starts before the song is opened, as the window does.
    std::unique_ptr<Screen> screen;
    if (!options.screenshotPath.empty() && !(screen = startScreenshotScreen(*app, error)))
        return fail(error);
    const bool songOpened = runSongActions(*app, options, platform);
    if (screen && !takeScreenshot(*app, *screen, songOpened, options.screenshotPath,
                                  options.screenshotZoom, error))
        return fail(error);
    if (!options.scriptPath.empty()) {
        ScriptSession session(*app, device, std::cout);
        if (!startScriptSession(session, platform.windowTitle()))
            return fail("cannot set up the screen");
        const int code = runScriptFile(session, options.scriptPath, std::cerr);
        const std::string unfinished = endScriptSession(session);
        if (code != 0) return code;
        if (!unfinished.empty()) return fail(unfinished);
        if (session.platform.warningShown()) return kExitFailure;
    }
    if (!options.renderOutput.empty() && !renderOutput(*app, options, error)) return fail(error);
    return platform.warningShown() ? kExitFailure : 0;
}
