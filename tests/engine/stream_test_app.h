// An AppState with the default song and a built stream on a virtual sound device, for tests.
#pragma once

#include "app/app_state.h"
#include "engine/stream.h"
#include "engine/virtual_sound_device.h"
#include "tools/reset_song.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

struct StreamTestApp {
    VirtualSoundDevice device;
    std::unique_ptr<AppState> app = std::make_unique<AppState>();

    StreamTestApp() {
        resetSong(app->song, app->clipboards, app->ui.currentInstrument);
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

// A fresh folder made the TMPDIR (where the temporary recording file goes) while it lives;
// removed with its files afterwards, also when an assertion ends the test early.
struct ScopedTempDir {
    std::string path;

    ScopedTempDir() {
        char folder[] = "/tmp/humbrook-engine-test-XXXXXX";
        if (mkdtemp(folder) != nullptr) path = folder;
        setenv("TMPDIR", path.c_str(), 1);
    }
    ~ScopedTempDir() {
        unsetenv("TMPDIR");
        std::error_code ignored;
        if (!path.empty()) std::filesystem::remove_all(path, ignored);
    }
    ScopedTempDir(const ScopedTempDir&) = delete;
    ScopedTempDir& operator=(const ScopedTempDir&) = delete;
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
