// Render mode of humbrook-render: the song played through the virtual device into a WAV file.
#include "cli/render_mode.h"

#include "app/app_state.h"
#include "app/playback.h"
#include "engine/virtual_sound_device.h"

std::vector<uint8_t> renderSteps(AppState& app, VirtualSoundDevice& device, int steps) {
    const int chunkBytes = 4 * app.engine.chunkFrames;
    std::vector<uint8_t> played;
    played.reserve(static_cast<size_t>(steps) * static_cast<size_t>(chunkBytes));
    startPlayback(app);
    device.setPlayCursor(0);
    pumpAudio(app);
    for (int step = 0; step < steps; ++step) {
        const int chunk = step % kRingChunks;
        const uint8_t* heard = device.bufferBytes() + chunk * chunkBytes;
        played.insert(played.end(), heard, heard + chunkBytes);
        device.setPlayCursor((chunk + 1) % kRingChunks * chunkBytes);
        pumpAudio(app);
    }
    stopPlayback(app);
    return played;
}
