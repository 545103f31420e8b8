// The dialogs of Save Recorded Wave and Import Wave.
#include "files/wave_commands.h"

#include "app/platform.h"
#include "files/recorded_wave.h"
#include "files/wave_import.h"
#include "model/song.h"

namespace {

FileDialogRequest waveDialog(bool save) {
    FileDialogRequest request;
    request.presetName = "out.wav";
    request.filters = {{"Wave Files", "*.wav"}, {"All Files", "*.*"}};
    request.filterIndex = 1;
    request.defaultExtension = "wav";
    request.overwritePrompt = save;
    return request;
}

} // namespace

bool saveRecordedWave(AppState& app, Platform& platform) {
    std::optional<std::string> path = platform.askSavePath(waveDialog(true));
    if (!path) return false;
    return writeRecordedWave(app, *path, platform);
}

bool importWaveFile(AppState& app, Platform& platform, int slot) {
    if (slot < 0 || slot >= kWaveformSlotCount) return false;
    std::optional<std::string> path = platform.askOpenPath(waveDialog(false));
    if (!path) return false;
    return importWaveFromPath(app, slot, *path, platform);
}
