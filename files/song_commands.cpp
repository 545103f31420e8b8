// File > Open and File > Save: dialogs, the window title, messages and the load's last steps.
#include "files/song_commands.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/app_state.h"
#include "app/platform.h"
#include "app/product_info.h"
#include "engine/stream.h"
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

// The whole file, or false when it cannot be opened or is a folder. A read that breaks off
// keeps what was read, as a text reader would meet the end of its file there.
bool readWholeFile(const std::string& path, std::string& text) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat info;
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        return false;
    }
    if (S_ISREG(info.st_mode)) text.reserve(static_cast<size_t>(info.st_size));
    char block[1 << 16];
    for (;;) {
        ssize_t got = read(fd, block, sizeof block);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        text.append(block, static_cast<size_t>(got));
    }
    close(fd);
    return true;
}

} // namespace

bool loadSongText(AppState& app, std::string_view text, Platform& platform) {
    SongReadResult result = readSongText(app, text);
    if (result.errorMessage) {
        showWarning(platform, result.errorMessage);
        return false;
    }
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) markWaveformUsers(app, slot);
    rebuildStream(app);
    return true;
}

bool loadSongFromPath(AppState& app, const std::string& path, Platform& platform) {
    std::string text;
    if (!readWholeFile(path, text)) {
        showWarning(platform, "Couldn't Open File");
        return false;
    }
    platform.setWindowTitle(songWindowTitle(path));
    loadSongText(app, text, platform);
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
