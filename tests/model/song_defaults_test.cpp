// Defaults of a fresh song and the pattern-stack removal rule.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "model/random.h"
#include "model/song.h"

namespace {

std::unique_ptr<Song> freshSong() {
    auto song = std::make_unique<Song>();
    setSongDefaults(*song);
    return song;
}

TEST(SongDefaults, SongWideAndInstrumentFields) {
    auto song = freshSong();
    EXPECT_FLOAT_EQ(song->BPM, 70.0f);
    EXPECT_FLOAT_EQ(song->MainVolume[0], 0.6f);
    EXPECT_FLOAT_EQ(song->MainVolume[1], 0.6f);
    const float colours[4][3] = {{0, 200, 200}, {250, 80, 80}, {0, 150, 250}, {250, 0, 190}};
    for (int i = 0; i < kInstrumentCount; ++i) {
        EXPECT_FLOAT_EQ(song->Volume[i], 0.6f);
        EXPECT_EQ(song->Oct[i], 1);
        EXPECT_EQ(song->Mute[i], 0);
        EXPECT_EQ(song->BPMsr[i], 16);
        EXPECT_EQ(song->PatternIdx[i], 0);
        EXPECT_EQ(song->Chorus[i].count, 1);
        EXPECT_FLOAT_EQ(song->Chorus[i].keys[0].level, 1.0f);
        EXPECT_EQ(song->EffectDim[i].xKnob, 0);
        EXPECT_EQ(song->EffectDim[i].yKnob, 1);
        for (int c = 0; c < 3; ++c) EXPECT_FLOAT_EQ(song->BGR[i][c], colours[i][c]);
        for (int d = 0; d < kDelayCount; ++d) {
            const float expected[kDelayValues] = {1.0f, 4.1f, 0.0f, 0.5f, 0.0f, 0.5f};
            for (int v = 0; v < kDelayValues; ++v)
                EXPECT_FLOAT_EQ(song->DelayParams[i][d][v], expected[v]);
        }
        EXPECT_EQ(song->PatternStack[i].entries[0], 0);
        for (int e = 1; e < kStackEntries; ++e) EXPECT_EQ(song->PatternStack[i].entries[e], -1);
        EXPECT_EQ(song->PatternStack[i].stackMode, 0);
        EXPECT_FLOAT_EQ(song->Pan[i][255], 0.5f);
        EXPECT_FLOAT_EQ(song->Vel[i][0], 1.0f);
        EXPECT_EQ(song->noteGrid[i].notePosition[17][5], 0);
        EXPECT_EQ(song->noteGrid[i].nextRow[255][23], -1);
    }
}

TEST(SongDefaults, EffectKnobValues) {
    auto song = freshSong();
    const KnobRecord* knobs = song->Effect[2];
    EXPECT_FLOAT_EQ(knobs[0].value, 1.0f);
    EXPECT_FLOAT_EQ(knobs[2].value, 0.4f);
    EXPECT_FLOAT_EQ(knobs[10].value, 0.25f);
    EXPECT_FLOAT_EQ(knobs[11].value, 0.5f);
    for (int k = 12; k < kEffectKnobCount; ++k) EXPECT_EQ(knobs[k].value, 0.0f);
    for (const KnobRecord& knob : song->SoundEffect[5]) EXPECT_EQ(knob.value, 0.0f);
}

TEST(SongDefaults, EnvelopeBanks) {
    auto song = freshSong();
    for (int bank = 0; bank < kEnvelopeBankCount; ++bank) {
        EXPECT_EQ(song->EnvelopeParams[bank].envelopeMode, bank % 2);
        EXPECT_EQ(song->EnvelopeParams[bank].sustainStart, 150);
        EXPECT_EQ(song->EnvelopeParams[bank].releaseEnd, 299);
    }
    EXPECT_FLOAT_EQ(song->Envelope[3][0], 1.0f);
    EXPECT_EQ(song->Envelope[3][150], 1.0f - 150 * 0.0033333334f);
    EXPECT_EQ(song->Envelope[3][300], 0.0f);
    EXPECT_EQ(song->Pitch[7][300], 0.5f);
    EXPECT_EQ(song->Ratio[0][0], 0.5f);
}

TEST(SongDefaults, WaveformSlotsHaveNoSoundFile) {
    auto song = freshSong();
    song->SoundFileVals[2].fileSamples = std::make_unique<float[]>(kMaxFileSamples);
    song->SoundType[2] = 1;
    setSongDefaults(*song);
    EXPECT_EQ(song->SoundFileVals[2].fileSamples, nullptr);
    EXPECT_EQ(song->SoundType[2], 0);
    EXPECT_EQ(song->SoundFileLoop[2].loopStart, 0);
    EXPECT_EQ(song->SoundFileLoop[2].loopEnd, 350);
}

TEST(PatternStack, RemovalRule) {
    BankStack stack{{0, 1, 2, 3, 4, -1, -1, -1}, 0};
    removeStackEntry(stack, 3);
    const int32_t afterMiddle[8] = {0, 1, 2, 4, -1, -1, -1, -1};
    EXPECT_EQ(0, std::memcmp(stack.entries, afterMiddle, sizeof afterMiddle));
    removeStackEntry(stack, 0);
    const int32_t afterHead[8] = {-1, 1, 2, 4, -1, -1, -1, -1};
    EXPECT_EQ(0, std::memcmp(stack.entries, afterHead, sizeof afterHead));
    removeStackEntry(stack, 7);
    removeStackEntry(stack, 8);
    removeStackEntry(stack, -1);
    EXPECT_EQ(0, std::memcmp(stack.entries, afterHead, sizeof afterHead));
}

TEST(Random, RangeAndDeterminism) {
    restartRandom();
    int first[16];
    for (int& v : first) {
        v = nextRandom();
        EXPECT_GE(v, 0);
        EXPECT_LE(v, 32767);
    }
    restartRandom();
    for (int v : first) EXPECT_EQ(nextRandom(), v);
    long sum = 0;
    for (int n = 0; n < 100000; ++n) sum += nextRandom();
    EXPECT_NEAR(sum / 100000.0, 16383.5, 200.0);
}

} // namespace
