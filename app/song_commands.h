// File > Open and File > Save for songs, and the same by path for the headless front end.
#pragma once

#include <string>
#include <string_view>

struct AppState;
class Platform;
struct Song;

// Reads song text into the current song, rebuilding a slot's playback waveform where its "Sound"
// or "SoundEffect" entry is read. On an entry's failure shows its message and stops (what was
// read stays); at the end of the text rebuilds the playback waveform of every slot an
// instrument plays and rebuilds the stream. Text with no song keyword at all changes nothing and
// shows "Not a Humbrook song file". Returns true when the text was read to its end.
bool loadSongText(AppState& app, std::string_view text, Platform& platform);

// Opens `path` ("Couldn't Open File" when it cannot be read or is no regular file, "File Too
// Large" beyond kMaxSongFileBytes) and reads it as loadSongText does; once the text has named a
// song keyword, sets the window title to the song's before any message of a damaged entry.
// Returns whether the file was opened as a song.
bool loadSongFromPath(AppState& app, const std::string& path, Platform& platform);

// Writes the song to `path` without ever destroying the file already there: a temporary file
// beside it is written, flushed to disk and renamed over it. Sets the window title once the
// file is open. "Couldn't Write File " on any failure. Returns true when written.
bool saveSongToPath(const Song& song, const std::string& path, Platform& platform);

// File > Open: the Open dialog, then loadSongFromPath. Returns whether a file was opened as a
// song (damaged or not); the caller stops playback before and redraws after.
bool openSongFile(AppState& app, Platform& platform);

// File > Save: the Save dialog (asking before replacing a file), then saveSongToPath. Returns
// true when the song was written.
bool saveSongFile(const Song& song, Platform& platform);
