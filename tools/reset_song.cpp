// Song defaults plus the eight preset waveforms.
#include "tools/reset_song.h"

#include "tools/waveform_presets.h"

void resetSong(Song& song, Clipboards& clipboards, int currentInstrument) {
    setSongDefaults(song);
    clipboards = Clipboards{};
    // The presets go in only once every slot's drawing and knobs hold their defaults: with all
    // knobs at 0, the rebuilds that follow give each slot its drawing and draw no random numbers.
    generateSine(song, 0);
    generateSineOctave(song, 1);
    generateSaw(song, 2);
    generateSquare(song, 3);
    for (int slot = 4; slot < kWaveformSlotCount; ++slot) generateSine(song, slot);
    // The audio rings, stream format, note latency and editing selections are not touched here:
    // New replaces the whole application record with a value-initialised one, which gives them
    // their start values.
    if (currentInstrument >= 0 && currentInstrument < kInstrumentCount)
        song.SoundIdx[currentInstrument] = 0;
}
