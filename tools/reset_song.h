// File > New and start-up: the song back to its defaults with the preset waveforms.
#pragma once

#include "model/song.h"
#include "tools/clipboards.h"

// Gives every song field its default, empties the clipboards, generates the presets into slots
// 0..7 and finally sets the SoundIdx of `currentInstrument` (if one of 0..3) to 0. The caller
// then rebuilds the playback form of every slot (engine/playback_waveform.h). Engine and editing
// state are not touched: New replaces them with value-initialised records.
void resetSong(Song& song, Clipboards& clipboards, int currentInstrument);
