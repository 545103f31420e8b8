// File > Save Recorded Wave and File > Import Wave: their dialogs and messages.
#include "app/wave_commands.h"

#include <cstdio>

#include "app/app_state.h"
#include "app/file_dialog_names.h"
#include "app/platform.h"
#include "app/playback.h"
#include "files/recorded_wave.h"
#include "files/wave_import.h"
#include "model/song.h"

namespace {

// Import Wave and Save Recorded Wave each start where their own last dialog ended.
FileDialogRequest waveDialog(bool save, const std::string& folder) {
    FileDialogRequest request;
    request.presetName = "out.wav";
    request.folder = folder;
    request.filters = {{"Wave Files", "*.wav"}, {"All Files", "*.*"}};
    request.filterIndex = 1;
    request.defaultExtension = "wav";
    request.overwritePrompt = save;
    return request;
}

// The messages of a refused import, in the order they are shown.
void showImportRefusal(Platform& platform, WaveImportError error) {
    switch (error) {
    case WaveImportError::None:
    case WaveImportError::NoSlot:
        return;
    case WaveImportError::CannotOpen:
    case WaveImportError::NotAWave:
        showWarning(platform, "Couldn't Open File ");
        return;
    case WaveImportError::NotMonoOrStereo:
        showWarning(platform, "Must be Stereo or Mono Sound File ");
        return;
    case WaveImportError::WrongRate:
        showWarning(platform, "Must be 44100 or 22050 Samples per Second ");
        return;
    case WaveImportError::ReadFailed:
        showWarning(platform, "Couldn't Read File ");
        showWarning(platform, "No Data Found"); // nothing was taken
        return;
    case WaveImportError::NoData:
        showWarning(platform, "No Data Found");
        return;
    case WaveImportError::WrongSampleSize:
        showWarning(platform, "Wrong number of bytes per sample ");
        return;
    }
}

// Shows a refusal's messages, or rebuilds the imported slot's playback waveform.
bool finishImport(AppState& app, int slot, WaveImportError error, Platform& platform) {
    if (error != WaveImportError::None) {
        showImportRefusal(platform, error);
        return false;
    }
    rebuildPlaybackWaveform(app, slot); // the slot's knobs changed
    return true;
}

} // namespace

bool writeRecordedWave(AppState& app, const std::string& path, Platform& platform) {
    const RecordingState& recording = app.recording;
    // A running recording may still hold counted chunks in the file's buffer.
    if (recording.file) std::fflush(recording.file);
    const RecordedTake take{recording.recordedChunks, recording.recordedChunkFrames,
                            recording.recordedRate};
    const RecordedWaveWrite result = writeRecordedWaveFile(take, path);
    if (result == RecordedWaveWrite::NoTempFile) showWarning(platform, "Couldn't Open Temp File");
    if (result != RecordedWaveWrite::Written) {
        showWarning(platform, "Problem writing Wave file");
        return false;
    }
    // The file holds the take up to the write that failed.
    if (recording.writeFailed) showWarning(platform, "Recording Incomplete");
    return true;
}

bool saveRecordedWave(AppState& app, Platform& platform) {
    Settings& settings = platform.settings();
    std::optional<std::string> path =
        platform.askSavePath(waveDialog(true, settings.recordingFolder));
    if (!path) return false;
    settings.recordingFolder = folderOfFile(*path);
    platform.keepSettings();
    return writeRecordedWave(app, *path, platform);
}

bool importWaveBytes(AppState& app, int slot, const uint8_t* bytes, size_t size,
                     Platform& platform) {
    return finishImport(app, slot, importWaveSamples(app.song, slot, bytes, size), platform);
}

bool importWaveFromPath(AppState& app, int slot, const std::string& path, Platform& platform) {
    return finishImport(app, slot, importWaveFileSamples(app.song, slot, path), platform);
}

bool importWaveFile(AppState& app, Platform& platform, int slot) {
    if (slot < 0 || slot >= kWaveformSlotCount) return false;
    Settings& settings = platform.settings();
    std::optional<std::string> path = platform.askOpenPath(waveDialog(false, settings.waveFolder));
    if (!path) return false;
    settings.waveFolder = folderOfFile(*path);
    platform.keepSettings();
    return importWaveFromPath(app, slot, *path, platform);
}
