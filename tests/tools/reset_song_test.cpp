// New: the song defaults, empty clipboards and the preset waveforms.
#include <gtest/gtest.h>

#include <cstring>

#include "tests/tools/tool_test_app.h"
#include "tools/clipboard_edits.h"
#include "tools/current_selection.h"

namespace {

// An application state with something changed in every part resetSong looks after.
std::unique_ptr<AppState> editedApp() {
    auto app = newSongApp();
    Song& song = app->song;
    song.BPM = 133.0f;
    song.Sound[4][7] = 99.0f;
    song.SoundEffect[2][kKnobNoise].value = 0.6f;
    song.SoundType[6] = 1;
    song.SoundFileVals[6].fileSamples = std::make_unique<float[]>(kMaxFileSamples);
    song.EnvelopeParams[3].envelopeMode = 0;
    song.Effect[1][14].value = 0.9f;
    song.SoundIdx[2] = 7;
    app->ui.currentInstrument = 2;
    app->song.Effect[2][3].value = 0.5f;
    copyEffects(app->song, app->clipboards, app->ui.currentInstrument);
    copyWaveform(app->song, app->clipboards, waveformSlotOf(app->song, app->ui.currentInstrument));
    return app;
}

TEST(ResetSong, RestoresDefaultsPresetsAndEmptyClipboards) {
    auto app = editedApp();
    resetSong(app->song, app->clipboards, app->ui.currentInstrument);
    const Song& song = app->song;
    EXPECT_EQ(song.BPM, 70.0f);
    for (int bank = 0; bank < kEnvelopeBankCount; ++bank)
        EXPECT_EQ(song.EnvelopeParams[bank].envelopeMode, bank % 2);
    for (int i = 0; i < kInstrumentCount; ++i) {
        EXPECT_EQ(song.SoundIdx[i], 0);
        for (int k = 12; k < kEffectKnobCount; ++k) EXPECT_EQ(song.Effect[i][k].value, 0.0f);
    }
    EXPECT_EQ(song.SoundType[6], 0);
    EXPECT_EQ(song.SoundFileVals[6].fileSamples, nullptr);

    auto fresh = newSongApp();
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) {
        EXPECT_EQ(song.SoundEffect[slot][kKnobNoise].value, 0.0f);
        EXPECT_EQ(song.SoundEffect[slot][kKnobMix].value, 0.0f);
        EXPECT_EQ(song.SoundEffect[slot][kKnobHigh].value, 0.0f);
        for (int i = 0; i < kWaveformSamples; ++i)
            ASSERT_EQ(song.Sound[slot][i], fresh->song.Sound[slot][i]);
    }
    const Clipboards empty{};
    EXPECT_EQ(0, std::memcmp(&app->clipboards, &empty, sizeof empty));
}

} // namespace
