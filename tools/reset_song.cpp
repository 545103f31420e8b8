// Song defaults plus the eight preset waveforms.
#include "tools/reset_song.h"

#include "app/app_state.h"
#include "tools/waveform_presets.h"

void resetSong(AppState& app) {
    setSongDefaults(app.song);
    app.clipboards = Clipboards{};
    // The presets go in only now that every slot's drawing and knobs hold their defaults: a
    // rebuild reads the next slot's drawing and the slot's own knobs.
    generateSine(app, 0);
    generateSineOctave(app, 1);
    generateSaw(app, 2);
    generateSquare(app, 3);
    for (int slot = 4; slot < kWaveformSlotCount; ++slot) generateSine(app, slot);
    // The audio rings, stream format, note latency and editing selections are not touched here:
    // New replaces the whole AppState with a value-initialised one, which gives them their
    // start values.
    const int instrument = app.ui.currentInstrument;
    if (instrument >= 0 && instrument < kInstrumentCount) app.song.SoundIdx[instrument] = 0;
}
