// Reading a song file's text into the current song, field by field.
#pragma once

#include <cstddef>
#include <string_view>

struct AppState;

// The largest song file that is opened. A song holds at most eight full sound-file slots, about
// 25 MB of text; the rest is margin for blanks and repeated entries.
inline constexpr size_t kMaxSongFileBytes = size_t{256} << 20;

struct SongReadResult {
    // The message of the entry that failed, or nullptr when the text was read to its end.
    const char* errorMessage = nullptr;
    // How many song keywords the text named (a version token is not one); none means the text
    // is no song file at all.
    int keywordCount = 0;
};

// Reads the song file text into app.song. Only the fields the text mentions change; "NumNotes"
// empties the instrument's notes first. "Sound" and "SoundEffect" entries rebuild their slot's
// playback waveform. Stops at the first entry that fails, keeping what was stored before it.
// Every index and count is checked, so no text can store outside the song's fields.
SongReadResult readSongText(AppState& app, std::string_view text);
