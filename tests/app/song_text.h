// For the edit history tests: the saved text of a song, and the source tree's songs and sounds.
#pragma once

#include <filesystem>
#include <string>

#include "files/song_writer.h"

inline const std::filesystem::path kSourceDir =
    std::filesystem::path(HUMBROOK_TEST_DATA).parent_path().parent_path();

inline std::string songText(const Song& song) {
    std::string text;
    appendSongText(song, text);
    return text;
}
