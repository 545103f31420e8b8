// An AppState with the default song and a built stream on a virtual sound device, for tests.
#pragma once

#include "app/app_state.h"
#include "engine/stream.h"
#include "engine/virtual_sound_device.h"
#include "tools/reset_song.h"

#include <cstring>
#include <memory>

struct StreamTestApp {
    VirtualSoundDevice device;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();

    StreamTestApp() {
        resetSong(*app);
        app->stream.device = &device;
        rebuildStream(*app);
    }

    int chunkFrames() const { return app->engine.chunkFrames; }
    int chunkBytes() const { return 4 * app->engine.chunkFrames; }

    // Sample `index` (interleaved, even = left) of the stream buffer as the device would play it.
    int16_t streamSample(int index) const {
        int16_t sample;
        std::memcpy(&sample, device.bufferBytes() + 2 * index, sizeof sample);
        return sample;
    }
};

// Writes a note of `length` steps on one row, starting at absolute step `step`.
inline void placeNote(Song& song, int instrument, int step, int row, int length) {
    NoteGrid& grid = song.noteGrid[instrument];
    for (int k = 0; k < length; ++k) {
        grid.notePosition[step + k][row] = k + 1;
        grid.noteLength[step + k][row] = length;
        grid.nextRow[step + k][row] = k + 1 < length ? row : -1;
    }
}
