// Start-up, File > New and shutdown of the AppState.
#include "app/startup.h"

#include <memory>

#include "app/app_state.h"
#include "app/hover_help.h"
#include "app/panel_redraw.h"
#include "app/playback.h"
#include "engine/sound_device.h"
#include "files/recording.h"
#include "model/random.h"
#include "tools/reset_song.h"
#include "ui/drawing.h"
#include "ui/screen.h"

void resetSongAndWaveforms(AppState& app) {
    resetSong(app.song, app.clipboards, app.ui.currentInstrument);
    // The same forms and random draws (none) as rebuilding each slot as its preset is drawn: the
    // defaults leave every knob at 0.
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) rebuildPlaybackWaveform(app, slot);
}

void initAppState(AppState& app, SoundDevice& device) {
    app.stream.device = &device;
    app.stream.format = OutputFormat{};
    resetSongAndWaveforms(app);
    rebuildStream(app);
    app.randomAtSongStart = currentRandomState();
}

void releaseAppState(AppState& app) {
    stopPlayback(app);
    if (app.recording.active) endRecordingFile(app.recording);
    if (app.stream.device != nullptr) app.stream.device->releaseBuffer();
}

void renewAppState(AppState& app) {
    SoundDevice* device = app.stream.device;
    releaseAppState(app);
    std::destroy_at(&app);
    std::construct_at(&app);
    if (device != nullptr) initAppState(app, *device);
}

std::unique_ptr<AppState> startApp(Screen& screen, SoundDevice& device) {
    auto app = std::make_unique<AppState>();
    initAppState(*app, device);
    renderAllPanels(*app, screen);
    return app;
}

void finishStartup(AppState& app, Screen& screen) {
    screen.windowActive = 1;
    screen.initialised = 1;
    paintWindowBackground(app, screen);
    presentAllPanels(app, screen);
    showHoverHelp(app, screen, -1, -1);
}

void paintWindowBackground(const AppState& app, Screen& screen) {
    PanelSurface& picture = screen.display.picture;
    PanelCanvas canvas;
    createCanvas(canvas, picture.width, picture.height, picture.bytesPerPixel);
    const float* colour = app.ui.backgroundColour; // blue, green, red
    fillRect(canvas, 0, 0, canvas.height, canvas.width, colour[2], colour[1], colour[0]);
    copyCanvasToSurface(canvas, picture);
}

void shutdownApp(std::unique_ptr<AppState>& app) {
    if (!app) return;
    releaseAppState(*app);
    app.reset();
}
