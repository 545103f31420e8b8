// Fuzzes the song reader: any text is loaded as File > Open loads it, the song is saved and
// must load back without a message, and a few steps of it are played through the virtual
// device, so that no value a file can hold reaches undefined behaviour.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "app/app_state.h"
#include "app/playback.h"
#include "app/song_commands.h"
#include "app/startup.h"
#include "engine/virtual_sound_device.h"
#include "files/song_writer.h"
#include "fuzz/fuzz_platform.h"

namespace {

constexpr int kPlayedSteps = 3;

std::unique_ptr<AppState> freshApp(VirtualSoundDevice& device) {
    auto app = std::make_unique<AppState>();
    resetSongAndWaveforms(*app);
    app->stream.device = &device;
    setSampleRate(*app, 22050);
    return app;
}

void playSteps(AppState& app, VirtualSoundDevice& device) {
    startPlayback(app);
    pumpAudio(app);
    for (int step = 1; step <= kPlayedSteps; ++step) {
        device.setPlayCursor(step * 4 * app.engine.chunkFrames);
        pumpAudio(app);
    }
    stopPlayback(app);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static VirtualSoundDevice device;
    auto app = freshApp(device);
    SilentPlatform platform;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    loadSongText(*app, text, platform);

    // Whatever was loaded, the saved text is a song the reader takes without a message.
    std::string saved;
    appendSongText(app->song, saved);
    static auto reloaded = freshApp(device); // only the reader's verdict on the text matters
    SilentPlatform reloadPlatform;
    if (!loadSongText(*reloaded, saved, reloadPlatform) || reloadPlatform.warnings != 0)
        std::abort();

    playSteps(*app, device);
    return 0;
}
