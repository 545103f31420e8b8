// Fuzzes WAV import: any bytes are imported into a slot; sizes in the file are never trusted.
#include <cstdint>
#include <memory>

#include "app/app_state.h"
#include "app/startup.h"
#include "app/wave_commands.h"
#include "fuzz/fuzz_platform.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<AppState> app = [] {
        auto fresh = std::make_unique<AppState>();
        resetSongAndWaveforms(*fresh);
        return fresh;
    }();
    SilentPlatform platform;
    const bool imported = importWaveBytes(*app, 5, data, size, platform);
    if (imported) {
        // Every stored sample lies in the clamped range.
        const FileSamples& samples = app->song.SoundFileVals[5];
        if (samples.fileSampleCount < 1 || samples.fileSampleCount > kMaxFileSamples)
            __builtin_trap();
        for (int k = 0; k < samples.fileSampleCount; ++k)
            if (!(samples.fileSamples[k] >= -127.0f && samples.fileSamples[k] <= 127.0f))
                __builtin_trap();
    }
    return 0;
}
