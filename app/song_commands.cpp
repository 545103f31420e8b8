// File > Open and File > Save: dialogs, the window title, messages and the load's last steps.
#include "app/song_commands.h"

#include "app/app_state.h"
#include "app/file_dialog_names.h"
#include "app/platform.h"
#include "app/playback.h"
#include "app/product_info.h"
#include "engine/playback_waveform.h"
#include "files/file_bytes.h"
#include "files/song_file.h"
#include "files/song_reader.h"
#include "model/random.h"

namespace {

constexpr const char* kUnsavedSongName = "def.zwv";

// The song folder of the settings follows every song dialog that chose a file.
void rememberSongFolder(Platform& platform, const std::string& path) {
    platform.settings().songFolder = folderOfFile(path);
    platform.keepSettings();
}

FileDialogRequest songDialog(bool save) {
    FileDialogRequest request;
    request.presetName = kUnsavedSongName;
    request.filters = {{save ? "Humbrook Files" : "Humbrook Files *.zwv", "*.zwv"},
                       {"All Files", "*.*"}};
    request.filterIndex = 1;
    request.defaultExtension = "zwv";
    request.overwritePrompt = save;
    return request;
}

constexpr const char* kNotASongMessage = "Not a Humbrook song file";

// The last steps of a read: the random sequence's position for exports, then the message of the
// entry that failed, or the rebuilds after a read to the end.
bool finishSongLoad(AppState& app, const SongReadResult& result, Platform& platform) {
    app.randomAtSongStart = currentRandomState();
    if (result.errorMessage) {
        showWarning(platform, result.errorMessage);
        return false;
    }
    for (int slot = 0; slot < kWaveformSlotCount; ++slot)
        markWaveformUsers(app.song, slot, app.engine.playbackWaveforms);
    rebuildStream(app);
    return true;
}

// Reads into the current song; each slot's playback form is rebuilt where its entry is read, as
// the knobs' noise draws from the random generator in the file's order.
SongReadResult readIntoSong(AppState& app, std::string_view text) {
    return readSongText(app.song, text, [&app](int slot) { rebuildPlaybackWaveform(app, slot); });
}

} // namespace

bool loadSongText(AppState& app, std::string_view text, Platform& platform) {
    SongReadResult result = readIntoSong(app, text);
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
        readIntoSong(app, std::string_view(reinterpret_cast<const char*>(file.data), file.size));
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

bool saveSongToPath(const Song& song, const std::string& path, Platform& platform) {
    const SongFileWrite result = writeSongFile(song, path);
    // The title names the file once it could be created, whether or not the write succeeded.
    if (result != SongFileWrite::NotCreated) platform.setWindowTitle(songWindowTitle(path));
    if (result != SongFileWrite::Written) showWarning(platform, "Couldn't Write File ");
    return result == SongFileWrite::Written;
}

bool openSongPath(AppState& app, const std::string& path, Platform& platform) {
    if (!loadSongFromPath(app, path, platform)) return false;
    app.songPath = path;
    addRecentSong(platform.settings(), path);
    platform.keepSettings();
    return true;
}

bool openSongFile(AppState& app, Platform& platform) {
    FileDialogRequest request = songDialog(false);
    request.folder = platform.settings().songFolder;
    std::optional<std::string> path = platform.askOpenPath(request);
    if (!path) return false;
    rememberSongFolder(platform, *path);
    return openSongPath(app, *path, platform);
}

bool saveSongAs(AppState& app, Platform& platform) {
    FileDialogRequest request = songDialog(true);
    if (app.songPath.empty()) {
        request.folder = platform.settings().songFolder;
    } else {
        request.folder = folderOfFile(app.songPath);
        request.presetName = fileNameOf(app.songPath);
    }
    std::optional<std::string> path = platform.askSavePath(request);
    if (!path) return false;
    rememberSongFolder(platform, *path);
    if (!saveSongToPath(app.song, *path, platform)) return false;
    app.songPath = *path;
    addRecentSong(platform.settings(), *path);
    platform.keepSettings();
    return true;
}

bool saveSong(AppState& app, Platform& platform) {
    if (app.songPath.empty()) return saveSongAs(app, platform);
    if (!saveSongToPath(app.song, app.songPath, platform)) return false;
    return true;
}

std::string songDisplayName(const AppState& app) {
    return app.songPath.empty() ? "Untitled" : fileNameOf(app.songPath);
}
