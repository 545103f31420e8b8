// The program's name, version and addresses, as the title bar and the Help and About boxes show
// them.
#pragma once

#include <string>

inline constexpr const char* kProgramName = "Humbrook 1.0";
inline constexpr const char* kContactAddress = "humbrook@example.org";
inline constexpr const char* kWebPageAddress = "https://humbrook.example.org";
inline constexpr const char* kBuildNumber = "Build 101";
inline constexpr const char* kReleaseDate = "Released December 2026";

// The title at start-up and after New: name, three blanks, contact address.
inline std::string startupWindowTitle() {
    return std::string(kProgramName) + "   " + kContactAddress;
}

// The title once a song file was opened or saved: the start-up title, three blanks, the path.
inline std::string songWindowTitle(const std::string& path) {
    return startupWindowTitle() + "   " + path;
}

// The title with the mark of unsaved changes: a leading '*' while the song is modified.
inline std::string markedWindowTitle(const std::string& title, bool modified) {
    return modified ? "*" + title : title;
}
