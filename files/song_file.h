// Saving a song as a song file on disk, never destroying the file already there.
#pragma once

#include <string>

struct Song;

enum class SongFileWrite {
    Written,    // the file holds the song
    NotCreated, // no temporary file could be made beside `path`: nothing was touched
    NotWritten, // writing or replacing failed: the file at `path` is as it was
};

// Writes the song text to a temporary file beside `path`, flushes it to disk and renames it over
// `path` (a link's destination when `path` is a link).
SongFileWrite writeSongFile(const Song& song, const std::string& path);
