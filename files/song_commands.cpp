// File > Open and File > Save: dialogs, the window title, messages and the load's last steps.
#include "files/song_commands.h"

#include "app/app_state.h"
#include "app/platform.h"
#include "app/product_info.h"
#include "engine/stream.h"
#include "files/file_bytes.h"
#include "files/recording.h"
#include "files/safe_file_writer.h"
#include "files/song_reader.h"
#include "files/song_writer.h"
#include "tools/playback_waveform.h"

namespace {

FileDialogRequest songDialog(bool save) {
    FileDialogRequest request;
    request.presetName = "def.zwv";
    request.filters = {{save ? "Humbrook Files" : "Humbrook Files *.zwv", "*.zwv"},
                       {"All Files", "*.*"}};
    request.filterIndex = 1;
    request.defaultExtension = "zwv";
    request.overwritePrompt = save;
    return request;
}

constexpr const char* kNotASongMessage = "Not a Humbrook song file";

// The last steps of a read: the message of the entry that failed, or the rebuilds after a read
// to the end.
bool finishSongLoad(AppState& app, const SongReadResult& result, Platform& platform) {
    if (result.errorMessage) {
        showWarning(platform, result.errorMessage);
        return false;
    }
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) markWaveformUsers(app.song, slot);
    FileRecorder recorder(app.recording);
    rebuildStream(app.song, app.engine, app.stream, &recorder);
    return true;
}

} // namespace

bool loadSongText(AppState& app, std::string_view text, Platform& platform) {
    SongReadResult result = readSongText(app, text);
    if (result.keywordCount == 0) {
        showWarning(platform, kNotASongMessage);
        return false;
    }
    return finishSongLoad(app, result, platform);
}

bool loadSongFromPath(AppState& app, const std::string& path, Platform& platform) {
    FileBytes file;
    const FileOpenResult opened = openFileBytes(path, file, kMaxSongFileBytes);
    if (opened != FileOpenResult::Opened) {
        showWarning(platform,
                    opened == FileOpenResult::TooLarge ? "File Too Large" : "Couldn't Open File");
        return false;
    }
    // A read that broke off ends the text there, as the end of the file would.
    SongReadResult result =
        readSongText(app, std::string_view(reinterpret_cast<const char*>(file.data), file.size));
    closeFileBytes(file);
    // Text without a single keyword changed nothing: the song, its title and the engine stay.
    if (result.keywordCount == 0) {
        showWarning(platform, kNotASongMessage);
        return false;
    }
    platform.setWindowTitle(songWindowTitle(path));
    finishSongLoad(app, result, platform);
    return true;
}

bool saveSongToPath(AppState& app, const std::string& path, Platform& platform) {
    SafeFileWriter writer;
    if (!beginSafeFile(writer, path)) {
        showWarning(platform, "Couldn't Write File ");
        return false;
    }
    platform.setWindowTitle(songWindowTitle(path));
    std::string text;
    appendSongText(app.song, text);
    writeSafeFile(writer, text.data(), text.size());
    if (!commitSafeFile(writer)) {
        showWarning(platform, "Couldn't Write File ");
        return false;
    }
    return true;
}

bool openSongFile(AppState& app, Platform& platform) {
    std::optional<std::string> path = platform.askOpenPath(songDialog(false));
    if (!path) return false;
    return loadSongFromPath(app, *path, platform);
}

void saveSongFile(AppState& app, Platform& platform) {
    std::optional<std::string> path = platform.askSavePath(songDialog(true));
    if (path) saveSongToPath(app, *path, platform);
}
