// The settings file: parsing, formatting, and reading and writing it in the user's config folder.
#include "app/settings.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>

#include "files/safe_file_writer.h"

namespace {

constexpr size_t kMaxLineBytes = 4096;    // a path is at most this long on Linux
constexpr size_t kMaxFileBytes = 1 << 20; // more than any real settings file
constexpr int kMaxReportedProblems = 10;  // a hostile file does not flood the terminal
constexpr int kMinAutosaveSeconds = 5;
constexpr int kMaxAutosaveSeconds = 3600;

constexpr std::string_view kZoomKey = "zoom";
constexpr std::string_view kSoundDeviceKey = "sound-device";
constexpr std::string_view kBufferFramesKey = "buffer-frames";
constexpr std::string_view kAutosaveKey = "autosave-seconds";
constexpr std::string_view kRecentSongKey = "recent-song";
constexpr std::string_view kSongFolderKey = "song-folder";
constexpr std::string_view kWaveFolderKey = "wave-folder";
constexpr std::string_view kRecordingFolderKey = "recording-folder";

// A whole decimal number within lo..hi, nothing else.
bool parseNumber(std::string_view text, int lo, int hi, int& value) {
    int parsed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (error != std::errc{} || end != text.data() + text.size() || parsed < lo || parsed > hi)
        return false;
    value = parsed;
    return true;
}

bool hasControlBytes(std::string_view line) {
    return std::any_of(line.begin(), line.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 || byte == 0x7f;
    });
}

// A key is a word of lowercase letters, digits and '-'.
bool isKey(std::string_view key) {
    return !key.empty() && std::all_of(key.begin(), key.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
    });
}

// Applies one known key; false when its value is bad. Unknown keys return true and are kept.
bool applyKnownKey(Settings& settings, std::string_view key, std::string_view value,
                   std::string_view line, std::string& why) {
    if (key == kZoomKey) {
        why = "zoom must be 1 to 4";
        return parseNumber(value, kMinZoom, kMaxZoom, settings.zoom);
    }
    if (key == kBufferFramesKey) {
        int frames = 0;
        why = "buffer-frames must be 256, 512, 1024 or 2048";
        if (!parseNumber(value, 0, 1 << 20, frames) || !isBufferFrameChoice(frames)) return false;
        settings.bufferFrames = frames;
        return true;
    }
    if (key == kAutosaveKey) {
        why = "autosave-seconds must be 5 to 3600";
        return parseNumber(value, kMinAutosaveSeconds, kMaxAutosaveSeconds,
                           settings.autosaveSeconds);
    }
    const bool known = key == kSoundDeviceKey || key == kRecentSongKey || key == kSongFolderKey ||
                       key == kWaveFolderKey || key == kRecordingFolderKey;
    why = "empty value";
    if (known && value.empty()) return false;
    if (key == kSoundDeviceKey) {
        settings.soundDevice = value;
    } else if (key == kRecentSongKey) {
        why = "more than 8 recent songs";
        if (static_cast<int>(settings.recentSongs.size()) >= kMaxRecentSongs) return false;
        if (std::find(settings.recentSongs.begin(), settings.recentSongs.end(), value) ==
            settings.recentSongs.end())
            settings.recentSongs.emplace_back(value);
    } else if (key == kSongFolderKey) {
        settings.songFolder = value;
    } else if (key == kWaveFolderKey) {
        settings.waveFolder = value;
    } else if (key == kRecordingFolderKey) {
        settings.recordingFolder = value;
    } else {
        settings.otherLines.emplace_back(line);
    }
    return true;
}

// One line; false with the reason when it is damaged.
bool parseLine(Settings& settings, std::string_view line, std::string& why) {
    if (line.size() > kMaxLineBytes) {
        why = "line too long";
        return false;
    }
    if (hasControlBytes(line)) {
        why = "control characters";
        return false;
    }
    const size_t space = line.find(' ');
    const std::string_view key = line.substr(0, space);
    const std::string_view value = space == std::string_view::npos ? "" : line.substr(space + 1);
    if (!isKey(key)) {
        why = "no key";
        return false;
    }
    return applyKnownKey(settings, key, value, line, why);
}

void appendLine(std::string& text, std::string_view key, std::string_view value) {
    // A value with a line break cannot be stored (the file is read line by line).
    if (value.empty() || value.find('\n') != std::string_view::npos) return;
    text.append(key).append(" ").append(value).append("\n");
}

} // namespace

bool isBufferFrameChoice(int frames) {
    return std::find(std::begin(kBufferFrameChoices), std::end(kBufferFrameChoices), frames) !=
           std::end(kBufferFrameChoices);
}

Settings parseSettings(std::string_view text, std::vector<std::string>& problems) {
    Settings settings;
    int lineNumber = 0;
    while (!text.empty()) {
        ++lineNumber;
        const size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line.front() == '#') continue;
        std::string why;
        if (!parseLine(settings, line, why))
            problems.push_back("line " + std::to_string(lineNumber) + ": " + why);
    }
    return settings;
}

std::string formatSettings(const Settings& settings) {
    std::string text = "# Humbrook settings, rewritten by the program whenever one changes.\n";
    if (settings.zoom >= kMinZoom && settings.zoom <= kMaxZoom)
        appendLine(text, kZoomKey, std::to_string(settings.zoom));
    appendLine(text, kSoundDeviceKey, settings.soundDevice);
    appendLine(text, kBufferFramesKey, std::to_string(settings.bufferFrames));
    appendLine(text, kAutosaveKey, std::to_string(settings.autosaveSeconds));
    for (const std::string& song : settings.recentSongs) appendLine(text, kRecentSongKey, song);
    appendLine(text, kSongFolderKey, settings.songFolder);
    appendLine(text, kWaveFolderKey, settings.waveFolder);
    appendLine(text, kRecordingFolderKey, settings.recordingFolder);
    for (const std::string& line : settings.otherLines) text.append(line).append("\n");
    return text;
}

std::string settingsPath(const char* xdgConfigHome, const char* home) {
    std::string folder;
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        folder = xdgConfigHome;
    else if (home != nullptr && home[0] != '\0')
        folder = std::string(home) + "/.config";
    else
        return "";
    return folder + "/humbrook/settings";
}

std::string settingsPathFromEnvironment() {
    return settingsPath(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME"));
}

Settings loadSettings(const std::string& path, std::ostream& errors) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (errno != ENOENT && !path.empty())
            errors << "humbrook: cannot read the settings " << path << ": " << std::strerror(errno)
                   << "; using the defaults\n";
        return Settings{};
    }
    std::string text(kMaxFileBytes + 1, '\0');
    file.read(text.data(), static_cast<std::streamsize>(text.size()));
    text.resize(static_cast<size_t>(file.gcount()));
    if (file.bad()) {
        errors << "humbrook: cannot read the settings " << path << "; using the defaults\n";
        return Settings{};
    }
    std::vector<std::string> problems;
    if (text.size() > kMaxFileBytes) {
        problems.push_back("the file is larger than 1 MB; the rest is ignored");
        text.resize(kMaxFileBytes);
    }
    Settings settings = parseSettings(text, problems);
    const int shown = std::min(static_cast<int>(problems.size()), kMaxReportedProblems);
    for (int i = 0; i < shown; ++i)
        errors << "humbrook: settings " << path << ", " << problems[static_cast<size_t>(i)]
               << "; skipped\n";
    if (static_cast<int>(problems.size()) > shown)
        errors << "humbrook: settings " << path << ": " << problems.size() - shown
               << " more damaged lines skipped\n";
    return settings;
}

bool saveSettings(const std::string& path, const Settings& settings) {
    if (path.empty()) return false;
    std::error_code ignored; // a folder that cannot be made fails the begin below
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
    SafeFileWriter writer;
    if (!beginSafeFile(writer, path)) return false;
    const std::string text = formatSettings(settings);
    if (!writeSafeFile(writer, text.data(), text.size())) {
        abandonSafeFile(writer);
        return false;
    }
    return commitSafeFile(writer);
}

void addRecentSong(Settings& settings, const std::string& path) {
    auto& songs = settings.recentSongs;
    songs.erase(std::remove(songs.begin(), songs.end(), path), songs.end());
    songs.insert(songs.begin(), path);
    if (static_cast<int>(songs.size()) > kMaxRecentSongs) songs.resize(kMaxRecentSongs);
}
