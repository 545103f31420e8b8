// What playback itself changes in the song, noted for the edit history: the sequencer's bank
// changes, its moves through each play order and the mute flips it applies are no edits.
#pragma once

#include <cstdint>

#include "model/song.h"

// The song fields playback writes: Mute, PatternStack entries and PatternIdx of each instrument.
struct PlaybackFields {
    int32_t mute[kInstrumentCount];
    int32_t entries[kInstrumentCount][kStackEntries];
    int32_t bank[kInstrumentCount];
};

// Playback's changes since the edit history last took them, per instrument.
struct PlaybackMoves {
    int muteFlipped[kInstrumentCount] = {};   // 1 after an odd number of mute flips
    int stackAdvances[kInstrumentCount] = {}; // moves to the next entry of the play order
    int bankSet[kInstrumentCount] = {};       // 1 when playback set the bank in play ...
    int32_t bank[kInstrumentCount] = {};      // ... to this bank, 0..15 or -1
};

PlaybackFields playbackFieldsOf(const Song& song);

// Adds to `moves` what changed between `before` and the song: a changed mute is one flip, changed
// entries one move of the play order (playback moves each at most once per call), a changed
// bank in play the bank set.
void notePlaybackMoves(const PlaybackFields& before, const Song& song, PlaybackMoves& moves);
