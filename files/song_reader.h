// Reading a song file's text into a song, field by field.
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

struct Song;

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

// Told the slot (0..7) of each "Sound" and "SoundEffect" entry read without a failure, at once,
// with the song as read so far: the caller rebuilds what it derives from the slot's drawing and
// knobs there, so that work drawing random numbers keeps its order in the file.
using WaveformChanged = std::function<void(int slot)>;

// Reads the song file text into `song`. Only the fields the text mentions change; "NumNotes"
// empties the instrument's notes first. Stops at the first entry that fails, keeping what was
// stored before it. Every index and count is checked, so no text can store outside the song's
// fields. `waveformChanged` may be empty.
SongReadResult readSongText(Song& song, std::string_view text,
                            const WaveformChanged& waveformChanged);
