// Sound-file buffers: shared by copies of the song, replaced rather than changed by an edit.
#include <gtest/gtest.h>

#include <memory>

#include "model/song.h"

namespace {

TEST(FileSamples, ACopyOfTheSongSharesTheSamples) {
    auto song = std::make_unique<Song>();
    setSongDefaults(*song);
    std::shared_ptr<float[]> samples = std::make_shared<float[]>(kMaxFileSamples);
    samples[7] = 3.5f;
    song->SoundFileVals[2].fileSamples = samples;
    song->SoundFileVals[2].fileSampleCount = 8;
    auto copy = std::make_unique<Song>(*song);
    EXPECT_EQ(copy->SoundFileVals[2].fileSamples.get(), song->SoundFileVals[2].fileSamples.get());
    EXPECT_EQ(copy->SoundFileVals[2].fileSampleCount, 8);
    EXPECT_EQ(copy->SoundFileVals[3].fileSamples, nullptr);
}

TEST(FileSamples, AnEditKeepsTheSamplesAfterTheOnesItWrites) {
    FileSamples none{0, nullptr};
    std::shared_ptr<float[]> buffer = newFileSampleBuffer();
    buffer[0] = 9.0f;
    keepFileSamplesFrom(none, buffer.get(), 1);
    EXPECT_EQ(buffer[0], 9.0f);
    EXPECT_EQ(buffer[1], 0.0f);
    EXPECT_EQ(buffer[kMaxFileSamples - 1], 0.0f);

    std::shared_ptr<float[]> old = std::make_shared<float[]>(kMaxFileSamples);
    for (int k = 0; k < kMaxFileSamples; ++k) old[k] = static_cast<float>(k);
    const FileSamples held{5, old};
    std::shared_ptr<float[]> edit = newFileSampleBuffer();
    edit[0] = -1.0f;
    keepFileSamplesFrom(held, edit.get(), 1);
    EXPECT_EQ(edit[0], -1.0f);
    EXPECT_EQ(edit[1], 1.0f);
    EXPECT_EQ(edit[kMaxFileSamples - 1], kMaxFileSamples - 1.0f);
    EXPECT_EQ(old[0], 0.0f) << "the old buffer is left as it was";

    // A start outside the buffer copies everything or nothing.
    keepFileSamplesFrom(held, edit.get(), -5);
    EXPECT_EQ(edit[0], 0.0f);
    edit[0] = 4.0f;
    keepFileSamplesFrom(held, edit.get(), kMaxFileSamples + 3);
    EXPECT_EQ(edit[0], 4.0f);
}

} // namespace
