// The program's settings: what it remembers between runs, kept apart from any song.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 4;
inline constexpr int kBufferFrameChoices[] = {256, 512, 1024, 2048};
inline constexpr int kDefaultBufferFrames = 512;
inline constexpr int kDefaultAutosaveSeconds = 30;
inline constexpr int kMaxRecentSongs = 8;

struct Settings {
    int zoom = 0;                            // 1..4; 0: not chosen yet (the window picks one)
    std::string soundDevice;                 // output device by its name; empty: system default
    int bufferFrames = kDefaultBufferFrames; // 256, 512, 1024 or 2048 frames
    int autosaveSeconds = kDefaultAutosaveSeconds; // 5..3600
    std::vector<std::string> recentSongs;          // newest first, at most kMaxRecentSongs
    std::string songFolder;      // where the last Open or Save dialog ended; empty: none yet
    std::string waveFolder;      // the same for Import Wave
    std::string recordingFolder; // the same for Save Recorded Wave
    // Lines whose keys this version does not know, as read: a newer version's settings survive
    // a run of this one.
    std::vector<std::string> otherLines;

    bool operator==(const Settings&) const = default;
};

// Reads settings text, one "key value" line each (the value is the rest of the line). Blank
// lines and lines starting with '#' are skipped. A damaged line (a known key with a bad value,
// control bytes, a line too long) is skipped and described in `problems` with its line number.
Settings parseSettings(std::string_view text, std::vector<std::string>& problems);

// The settings as text: a comment line, the known keys that differ from "not chosen", then the
// unknown lines as they were read.
std::string formatSettings(const Settings& settings);

// $XDG_CONFIG_HOME/humbrook/settings, else $HOME/.config/humbrook/settings (a relative
// XDG_CONFIG_HOME is ignored, as the base directory convention says); empty when neither helps.
std::string settingsPath(const char* xdgConfigHome, const char* home);
// The same from the environment.
std::string settingsPathFromEnvironment();

// Reads the settings file. A missing file gives the defaults quietly; an unreadable one, or one
// with damaged lines, gives the defaults for what could not be read and says so on `errors`, once.
Settings loadSettings(const std::string& path, std::ostream& errors);

// Writes the settings file atomically (a temporary file beside it, flushed, renamed over),
// creating its folder. False when it cannot be written; the old file is then left as it was.
bool saveSettings(const std::string& path, const Settings& settings);

// Puts `path` first in the recent songs, without repeats, keeping at most kMaxRecentSongs.
void addRecentSong(Settings& settings, const std::string& path);

// Whether `frames` is one of the offered buffer sizes.
bool isBufferFrameChoice(int frames);
