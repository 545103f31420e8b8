// Saving a song as a song file on disk, never destroying the file already there.
#include "files/song_file.h"

#include "files/safe_file_writer.h"
#include "files/song_writer.h"

SongFileWrite writeSongFile(const Song& song, const std::string& path) {
    SafeFileWriter writer;
    if (!beginSafeFile(writer, path)) return SongFileWrite::NotCreated;
    std::string text;
    appendSongText(song, text);
    writeSafeFile(writer, text.data(), text.size());
    return commitSafeFile(writer) ? SongFileWrite::Written : SongFileWrite::NotWritten;
}
