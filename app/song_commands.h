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

// Opens `path` as loadSongFromPath does; once opened, the song belongs to `path` (File > Save
// writes there) and the path becomes the newest recent song. Returns whether it was opened.
bool openSongPath(AppState& app, const std::string& path, Platform& platform);

// File > Open: the Open dialog, starting in the folder the last song dialog ended in, then
// openSongPath. Returns whether a file was opened as a song (damaged or not); the caller stops
// playback before and redraws after.
bool openSongFile(AppState& app, Platform& platform);

// File > Save As: the Save dialog (asking before replacing a file), starting in the song's own
// folder with its file name (a song never saved: "def.zwv" in the folder the last song dialog
// ended in), then saveSongToPath. A song written belongs to its new path, which becomes the
// newest recent song. Returns true when written; false when cancelled or failed.
bool saveSongAs(AppState& app, Platform& platform);

// File > Save: a song that belongs to a file is written there without asking; one that does not
// is saved as saveSongAs does. Returns true when written.
bool saveSong(AppState& app, Platform& platform);

// The name the song goes by in questions: its file's name, or "Untitled" for a song never saved.
std::string songDisplayName(const AppState& app);
