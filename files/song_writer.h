// The song file's text: every saved field of the song in the file's order and formats.
#pragma once

#include <string>

struct Song;

// Appends the whole song file text (first line "v3", LF line ends) to `out`.
void appendSongText(const Song& song, std::string& out);
