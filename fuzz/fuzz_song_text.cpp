// Fuzzes the song reader alone, fast: any text read into one song kept between inputs. The
// fuzz_song_reader target adds the load's last steps, a save and reload and playback.
#include <cstdint>
#include <memory>
#include <string_view>

#include "app/app_state.h"
#include "app/startup.h"
#include "files/song_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static std::unique_ptr<AppState> app = [] {
        auto fresh = std::make_unique<AppState>();
        resetSongAndWaveforms(*fresh);
        return fresh;
    }();
    readSongText(app->song, std::string_view(reinterpret_cast<const char*>(data), size), {});
    return 0;
}
