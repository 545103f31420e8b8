// The edit history on its own: steps, redo, limits, shared samples, playback and the modified
// flag.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "app/edit_history.h"
#include "app/playback_moves.h"
#include "engine/sequencer.h"
#include "tools/reset_song.h"

namespace {

std::unique_ptr<Song> startSong() {
    auto song = std::make_unique<Song>();
    Clipboards clipboards{};
    int instrument = 0;
    resetSong(*song, clipboards, instrument);
    return song;
}

// The saved plain fields and the sample buffers of two songs are the same.
void expectSameSong(const Song& a, const Song& b) {
    EXPECT_EQ(std::memcmp(&a.BPM, &b.BPM,
                          reinterpret_cast<const char*>(std::end(a.SoundFileLoop)) -
                              reinterpret_cast<const char*>(&a.BPM)),
              0);
    EXPECT_EQ(std::memcmp(&a.Envelope, &b.Envelope,
                          reinterpret_cast<const char*>(std::end(a.Vel)) -
                              reinterpret_cast<const char*>(&a.Envelope)),
              0);
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) {
        EXPECT_EQ(a.SoundFileVals[slot].fileSamples, b.SoundFileVals[slot].fileSamples);
        EXPECT_EQ(a.SoundFileVals[slot].fileSampleCount, b.SoundFileVals[slot].fileSampleCount);
    }
}

FileSamples fullSamples(float value) {
    std::shared_ptr<float[]> buffer = newFileSampleBuffer();
    std::fill_n(buffer.get(), kMaxFileSamples, value);
    return {kMaxFileSamples, buffer};
}

TEST(EditHistory, UndoAndRedoGiveBackEachStateByteForByte) {
    auto song = startSong();
    EditHistory history;
    history.restart(*song, {"title", "a.zwv"});
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.record(*song, "Nothing", {"title", "a.zwv"})) << "no change, no step";

    const auto start = std::make_unique<Song>(*song);
    song->noteGrid[2].notePosition[40][5] = 1;
    song->noteGrid[2].noteLength[40][5] = 1;
    song->noteGrid[2].nextRow[40][5] = -1;
    ASSERT_TRUE(history.record(*song, "Draw Notes", {"title", "a.zwv"}));
    const auto afterNotes = std::make_unique<Song>(*song);
    song->BPM = 133.0f;
    song->Effect[3][15].value = 0.25f;
    song->SoundFileVals[4] = fullSamples(0.5f);
    ASSERT_TRUE(history.record(*song, "Open", {"title b", "b.zwv"}));
    const auto afterOpen = std::make_unique<Song>(*song);
    EXPECT_EQ(history.undoName(), "Open");
    EXPECT_EQ(history.redoName(), "");

    const EditStep* step = history.undo(*song);
    ASSERT_NE(step, nullptr);
    EXPECT_EQ(step->name, "Open");
    expectSameSong(*song, *afterNotes);
    EXPECT_EQ(history.label(), (SongLabel{"title", "a.zwv"}))
        << "undoing Open brings the file back";
    EXPECT_EQ(history.undoName(), "Draw Notes");
    EXPECT_EQ(history.redoName(), "Open");
    ASSERT_NE(history.undo(*song), nullptr);
    expectSameSong(*song, *start);
    EXPECT_EQ(history.undo(*song), nullptr);

    ASSERT_NE(history.redo(*song), nullptr);
    ASSERT_NE(history.redo(*song), nullptr);
    expectSameSong(*song, *afterOpen);
    EXPECT_EQ(history.label(), (SongLabel{"title b", "b.zwv"}));
    EXPECT_EQ(history.redo(*song), nullptr);
}

TEST(EditHistory, UndoWritesBackOnlyWhatTheStepChanged) {
    auto song = startSong();
    EditHistory history;
    history.restart(*song, {});
    song->Vel[1][7] = 0.125f;
    ASSERT_TRUE(history.record(*song, "Draw Pan and Velocity", {}));
    const SongChange& change = history.undo(*song)->change;
    ASSERT_EQ(change.ranges.size(), 1u);
    EXPECT_EQ(change.ranges[0].length, 4u);
    history.redo(*song);
    // Fields nobody recorded since (as playback's) are not touched by undo.
    song->Pan[0][0] = 0.75f;
    history.undo(*song);
    EXPECT_EQ(song->Pan[0][0], 0.75f);
    EXPECT_NE(song->Vel[1][7], 0.125f);
}

TEST(EditHistory, ANewEditAfterUndoDropsTheRedoSteps) {
    auto song = startSong();
    EditHistory history;
    history.restart(*song, {});
    for (int k = 0; k < 3; ++k) {
        song->Volume[0] = 0.1f * static_cast<float>(k + 1);
        history.record(*song, "Change Instrument", {});
    }
    history.undo(*song);
    history.undo(*song);
    EXPECT_TRUE(history.canRedo());
    song->BPM = 99.0f;
    ASSERT_TRUE(history.record(*song, "Type Tempo", {}));
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.stepCount(), 2u);
    history.undo(*song);
    EXPECT_FLOAT_EQ(song->Volume[0], 0.1f);
    EXPECT_NE(song->BPM, 99.0f);
}

TEST(EditHistory, ModifiedFollowsUndoToTheSavedPointAndSurvivesSaving) {
    auto song = startSong();
    EditHistory history;
    history.restart(*song, {});
    EXPECT_FALSE(history.modified());
    song->Oct[0] = 3;
    history.record(*song, "Change Instrument", {});
    EXPECT_TRUE(history.modified());
    history.undo(*song);
    EXPECT_FALSE(history.modified()) << "undone back to what was opened";
    history.redo(*song);
    history.markSaved();
    EXPECT_FALSE(history.modified());
    EXPECT_TRUE(history.canUndo()) << "saving keeps the history";
    history.undo(*song);
    EXPECT_TRUE(history.modified());
    history.redo(*song);
    EXPECT_FALSE(history.modified());

    // The saved state is gone for good once a new edit replaces its redo step.
    history.undo(*song);
    song->Oct[1] = 2;
    history.record(*song, "Change Instrument", {});
    history.undo(*song);
    EXPECT_TRUE(history.modified());

    history.markModified(); // a recovered song
    while (history.canUndo()) history.undo(*song);
    EXPECT_TRUE(history.modified());
}

TEST(EditHistory, KeepsTwoHundredStepsAndDropsTheOldestBeyondItsMemory) {
    auto song = startSong();
    EditHistory history;
    history.restart(*song, {});
    for (int k = 0; k < 300; ++k) {
        song->noteGrid[k % 4].notePosition[k % kGridSteps][k % kNoteRows] ^= 1;
        ASSERT_TRUE(history.record(*song, "Draw Notes", {}));
    }
    EXPECT_EQ(history.stepCount(), 300u);
    EXPECT_LT(history.memoryBytes(), size_t{1} << 20);

    // Whole-song changes in a history of 2 MB: the oldest go, the newest stays whole.
    EditHistory small(size_t{2} << 20);
    small.restart(*song, {});
    for (int k = 0; k < 40; ++k) {
        for (auto& row : song->Envelope)
            for (float& point : row) point = static_cast<float>(k);
        song->SoundFileVals[k % kWaveformSlotCount] = fullSamples(static_cast<float>(k));
        ASSERT_TRUE(small.record(*song, "Open", {}));
        EXPECT_LE(small.memoryBytes(), size_t{2} << 20);
    }
    EXPECT_LT(small.stepCount(), 40u);
    EXPECT_GE(small.stepCount(), 1u);
    while (small.canUndo()) small.undo(*song);
    EXPECT_TRUE(small.modified()) << "the opened state was dropped";
}

TEST(EditHistory, SharesSoundFileSamplesInsteadOfCopyingThem) {
    auto song = startSong();
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) {
        song->SoundType[slot] = 1;
        song->SoundFileVals[slot] = fullSamples(static_cast<float>(slot));
    }
    EditHistory history;
    history.restart(*song, {});
    for (int k = 0; k < 200; ++k) {
        song->Effect[k % 4][k % 16].value = static_cast<float>(k) / 200.0f;
        ASSERT_TRUE(history.record(*song, "Turn Effect Knob", {}));
    }
    EXPECT_LT(history.memoryBytes(), size_t{200} << 10) << "the song's own samples cost nothing";

    const float* replaced = song->SoundFileVals[2].fileSamples.get();
    song->SoundFileVals[2] = fullSamples(9.0f);
    ASSERT_TRUE(history.record(*song, "Import Wave", {}));
    const size_t buffer = sizeof(float) * kMaxFileSamples;
    EXPECT_GE(history.memoryBytes(), buffer) << "the replaced buffer is kept by the history alone";
    EXPECT_LT(history.memoryBytes(), buffer + (size_t{200} << 10));
    const long usersBefore = song->SoundFileVals[2].fileSamples.use_count();
    history.undo(*song);
    EXPECT_EQ(song->SoundFileVals[2].fileSamples.get(), replaced) << "the same buffer, not a copy";
    EXPECT_EQ(song->SoundFileVals[2].fileSamples.use_count(), usersBefore);
}

TEST(EditHistory, PlaybackMovesAreNoEditButEditsAmongThemAre) {
    auto song = startSong();
    song->PatternStack[1].entries[0] = 3;
    song->PatternStack[1].entries[1] = 5;
    song->PatternStack[1].stackMode = kStackRotate;
    EditHistory history;
    history.restart(*song, {});
    PlaybackMoves moves;

    // The sequencer's bank change, mute flip and play-order move, as the pump notes them.
    PlaybackFields before = playbackFieldsOf(*song);
    song->Mute[0] = 1;
    song->PatternIdx[1] = nextBank(*song, 1);
    notePlaybackMoves(before, *song, moves);
    history.followPlayback(moves);
    EXPECT_FALSE(history.record(*song, "Draw Notes", {}));

    // A bank queued by hand, then the sequencer moving on within the same gesture.
    appendBank(*song, 1, 7, 1);
    before = playbackFieldsOf(*song);
    song->PatternIdx[1] = nextBank(*song, 1);
    notePlaybackMoves(before, *song, moves);
    history.followPlayback(moves);
    ASSERT_TRUE(history.record(*song, "Queue Note Bank", {}));
    const auto queued = std::make_unique<Song>(*song);
    history.undo(*song);
    int banks = 0;
    for (int32_t entry : song->PatternStack[1].entries) banks += entry == 7;
    EXPECT_EQ(banks, 0) << "undo takes the queued bank out";
    EXPECT_EQ(song->PatternIdx[1], queued->PatternIdx[1]) << "the bank in play stays";
    EXPECT_EQ(song->Mute[0], 1);
}

} // namespace
