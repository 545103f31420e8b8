// Defaults written over a song that was edited and loaded: nothing of the old song survives.
#include <gtest/gtest.h>

#include <memory>

#include "model/song.h"

namespace {

// Changes the fields the editors, the engine and a song file can leave behind.
void editEverywhere(Song& song) {
    song.Sound[1][349] = 120.0f;
    song.SoundEffect[3][kKnobMix].value = 0.8f;
    song.SoundFileParams[5].fileReserved = 77;
    song.SoundFileLoop[5] = {40, 90};
    song.Envelope[2][300] = 0.4f;
    song.Pitch[2][300] = 0.1f;
    song.Cutoff[2][300] = 0.9f;
    song.Ratio[2][300] = 0.0f;
    song.EnvelopeParams[6] = {10, 20, 30, 1};
    song.EnvIdx[1] = 7;
    song.SoundIdx[3] = 6;
    song.Chorus[0].count = 5;
    song.Chorus[0].keys[4] = {12.0f, 0.5f};
    song.Effect[0][15].value = 1.0f;
    song.PatternStack[2].stackMode = kStackConsume;
    song.noteGrid[3].noteLength[200][23] = 4;
}

TEST(SongDefaultsOverEdits, EveryEditedFieldIsPutBack) {
    auto song = std::make_unique<Song>();
    setSongDefaults(*song);
    editEverywhere(*song);
    setSongDefaults(*song);

    EXPECT_EQ(song->Sound[1][349], 0.0f);
    EXPECT_EQ(song->SoundEffect[3][kKnobMix].value, 0.0f);
    EXPECT_EQ(song->SoundFileParams[5].fileReserved, 0);
    EXPECT_EQ(song->SoundFileLoop[5].loopStart, 0);
    EXPECT_EQ(song->SoundFileLoop[5].loopEnd, kWaveformSamples);

    // Guard points: amplitude ends in silence, the other curves at the middle.
    EXPECT_EQ(song->Envelope[2][300], 0.0f);
    EXPECT_EQ(song->Pitch[2][300], 0.5f);
    EXPECT_EQ(song->Cutoff[2][300], 0.5f);
    EXPECT_EQ(song->Ratio[2][300], 0.5f);
    EXPECT_FLOAT_EQ(song->Envelope[2][299], 1.0f - 299 * 0.0033333334f);
    EXPECT_EQ(song->EnvelopeParams[6].sustainStart, 150);
    EXPECT_EQ(song->EnvelopeParams[6].sustainEnd, 150);
    EXPECT_EQ(song->EnvelopeParams[6].releaseEnd, 299);
    EXPECT_EQ(song->EnvelopeParams[6].envelopeMode, 0);

    EXPECT_EQ(song->EnvIdx[1], 0);
    EXPECT_EQ(song->SoundIdx[3], 0);
    EXPECT_EQ(song->Chorus[0].count, 1);
    EXPECT_EQ(song->Chorus[0].keys[0].semitoneOffset, 0.0f);
    EXPECT_EQ(song->Chorus[0].keys[4].level, 0.0f);
    EXPECT_EQ(song->Effect[0][15].value, 0.0f);
    EXPECT_EQ(song->PatternStack[2].stackMode, kStackRotate);
    EXPECT_EQ(song->noteGrid[3].noteLength[200][23], 0);
}

} // namespace
