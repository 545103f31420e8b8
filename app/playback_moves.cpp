// Noting what playback changed in the song.
#include "app/playback_moves.h"

#include <algorithm>

PlaybackFields playbackFieldsOf(const Song& song) {
    PlaybackFields fields;
    for (int i = 0; i < kInstrumentCount; ++i) {
        fields.mute[i] = song.Mute[i];
        std::copy_n(song.PatternStack[i].entries, kStackEntries, fields.entries[i]);
        fields.bank[i] = song.PatternIdx[i];
    }
    return fields;
}

void notePlaybackMoves(const PlaybackFields& before, const Song& song, PlaybackMoves& moves) {
    for (int i = 0; i < kInstrumentCount; ++i) {
        if (song.Mute[i] != before.mute[i]) moves.muteFlipped[i] ^= 1;
        if (!std::equal(before.entries[i], before.entries[i] + kStackEntries,
                        song.PatternStack[i].entries))
            ++moves.stackAdvances[i];
        if (song.PatternIdx[i] != before.bank[i]) {
            moves.bankSet[i] = 1;
            moves.bank[i] = song.PatternIdx[i];
        }
    }
}
