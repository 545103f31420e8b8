// WAV import: the checks in order, the skipped bytes, conversion and clamping, the slot's state.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

#include "files/wave_import.h"
#include "model/song.h"
#include "tests/files/wave_bytes.h"

namespace {

class WaveImport : public ::testing::Test {
  protected:
    void SetUp() override { setSongDefaults(song); }
    WaveImportError importError(const std::vector<uint8_t>& bytes, int slot = 3) {
        return importWaveSamples(song, slot, bytes.data(), bytes.size());
    }
    bool import(const std::vector<uint8_t>& bytes, int slot = 3) {
        return importError(bytes, slot) == WaveImportError::None;
    }
    std::unique_ptr<Song> made = std::make_unique<Song>();
    Song& song = *made;
};

TEST_F(WaveImport, MonoFileSkipsFiveSamplesAndClamps) {
    std::vector<int32_t> values(1000);
    for (int k = 0; k < 1000; ++k) values[k] = k * 16 - 8000;
    values[5] = 0x7FFF;
    values[6] = -32768;
    values[7] = 0x0180; // 1.5
    song.SoundEffect[3][kKnobHigh].value = 0.7f;
    float drawn[kWaveformSamples];
    std::memcpy(drawn, song.Sound[3], sizeof drawn);

    ASSERT_TRUE(import(makeWave({}, values)));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 995);
    const float* samples = song.SoundFileVals[3].fileSamples.get();
    EXPECT_EQ(samples[0], 127.0f);
    EXPECT_EQ(samples[1], -127.0f);
    EXPECT_EQ(samples[2], 1.5f);
    EXPECT_EQ(samples[994], (999 * 16 - 8000) / 256.0f);
    EXPECT_EQ(song.SoundFileParams[3].fileSampleRate, 22050);
    EXPECT_EQ(song.SoundFileParams[3].fileChannels, 1);
    EXPECT_EQ(song.SoundType[3], 1);
    EXPECT_EQ(song.SoundEffect[3][kKnobMix].value, 0.5f);
    EXPECT_EQ(song.SoundEffect[3][kKnobHigh].value, 0.0f);
    EXPECT_EQ(song.SoundEffect[3][kKnobNoise].value, 0.0f);
    EXPECT_EQ(std::memcmp(drawn, song.Sound[3], sizeof drawn), 0) << "the drawing stays";

    // A second import replaces the samples in a new buffer: a copy of the song keeps the first.
    const std::shared_ptr<const float[]> first = song.SoundFileVals[3].fileSamples;
    ASSERT_TRUE(import(makeWave({}, std::vector<int32_t>(105, 512))));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 100);
    EXPECT_EQ(song.SoundFileVals[3].fileSamples[0], 2.0f);
    EXPECT_EQ(first[0], 127.0f);
    EXPECT_EQ(song.SoundFileVals[3].fileSamples[100], first[100]) << "samples past the count stay";
}

TEST_F(WaveImport, StereoStaysInterleaved) {
    std::vector<int32_t> values;
    for (int frame = 0; frame < 300; ++frame) {
        values.push_back(256 * (frame % 100));
        values.push_back(-256 * (frame % 100));
    }
    WaveSpec stereo;
    stereo.channels = 2;
    stereo.rate = 44100;
    ASSERT_TRUE(import(makeWave(stereo, values)));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 2 * 300 - 5);
    EXPECT_EQ(song.SoundFileParams[3].fileChannels, 2);
    EXPECT_EQ(song.SoundFileParams[3].fileSampleRate, 44100);
    // Five values were skipped, so value 0 is the right channel of frame 2.
    EXPECT_EQ(song.SoundFileVals[3].fileSamples[0], -2.0f);
    EXPECT_EQ(song.SoundFileVals[3].fileSamples[1], 3.0f);
}

TEST_F(WaveImport, RefusedFilesChangeNothing) {
    const std::vector<int32_t> values(50, 1000);
    WaveSpec eightBit;
    eightBit.bytesPerSample = 1;
    WaveSpec twentyFourBit;
    twentyFourBit.bytesPerSample = 3;
    WaveSpec fast;
    fast.rate = 48000;
    WaveSpec four;
    four.channels = 4;
    std::vector<uint8_t> notRiff = makeWave({}, values);
    std::memcpy(notRiff.data(), "RIFX", 4);
    std::vector<uint8_t> smallFormat = makeWave({}, values);
    smallFormat[16] = 14; // "fmt " declared 14 bytes long
    std::vector<uint8_t> noFormat = makeWave({}, values);
    std::memcpy(noFormat.data() + 12, "junk", 4);

    const std::pair<std::vector<uint8_t>, WaveImportError> cases[] = {
        {makeWave(eightBit, values), WaveImportError::WrongSampleSize},
        {makeWave(twentyFourBit, values), WaveImportError::WrongSampleSize},
        {makeWave(fast, values), WaveImportError::WrongRate},
        {makeWave(four, values), WaveImportError::NotMonoOrStereo},
        {notRiff, WaveImportError::NotAWave},
        {smallFormat, WaveImportError::NotAWave},
        {noFormat, WaveImportError::NotAWave},
        {std::vector<uint8_t>(notRiff.begin(), notRiff.begin() + 10), WaveImportError::NotAWave},
        {makeWave({}, {}), WaveImportError::NoData},
    };
    song.SoundEffect[3][kKnobMix].value = 0.25f;
    song.SoundFileVals[3].fileSampleCount = 0;
    for (const auto& [bytes, error] : cases) {
        EXPECT_EQ(importError(bytes), error) << static_cast<int>(error);
        EXPECT_EQ(song.SoundType[3], 0);
        EXPECT_EQ(song.SoundEffect[3][kKnobMix].value, 0.25f);
        EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 0);
    }
    EXPECT_EQ(importError(makeWave({}, values), -1), WaveImportError::NoSlot);
    EXPECT_EQ(importError(makeWave({}, values), kWaveformSlotCount), WaveImportError::NoSlot);
}

TEST_F(WaveImport, SizesInTheFileAreNotTrusted) {
    // At most 18 bytes after "fmt " (the data header and five samples) is no data.
    std::vector<uint8_t> bytes = makeWave({}, std::vector<int32_t>(5, 100));
    EXPECT_EQ(importError(bytes), WaveImportError::NoData);
    bytes = makeWave({}, std::vector<int32_t>(6, 512));
    bytes.pop_back(); // 19 bytes: half a sample is no sample either
    EXPECT_EQ(importError(bytes), WaveImportError::NoData);
    bytes = makeWave({}, std::vector<int32_t>(6, 512));
    EXPECT_TRUE(import(bytes));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 1);

    // Chunk and RIFF sizes far beyond the file: the read stops at the file's end.
    bytes = makeWave({}, std::vector<int32_t>(40, 256));
    std::memset(bytes.data() + 4, 0xFF, 4);
    std::memset(bytes.data() + 40, 0xFF, 4);
    EXPECT_TRUE(import(bytes));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 35);

    // A RIFF size smaller than the file limits the bytes read.
    bytes = makeWave({}, std::vector<int32_t>(40, 256));
    bytes[4] = 28;
    std::memset(bytes.data() + 5, 0, 3);
    EXPECT_TRUE(import(bytes));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 5);

    // A chunk before "fmt " whose size points past the end.
    std::vector<uint8_t> lost = makeWave({}, std::vector<int32_t>(40, 256));
    const uint8_t bogus[8] = {'L', 'I', 'S', 'T', 0xF0, 0xFF, 0xFF, 0x7F};
    lost.insert(lost.begin() + 12, bogus, bogus + 8);
    EXPECT_EQ(importError(lost), WaveImportError::NotAWave);

    // A format that is not PCM must carry its extra-size field.
    WaveSpec floatFormat;
    floatFormat.formatTag = 3;
    bytes = makeWave(floatFormat, {});
    bytes.resize(36);
    EXPECT_EQ(importError(bytes), WaveImportError::NotAWave);
}

TEST_F(WaveImport, AnOddChunkBeforeTheDataLeavesNothingToReadAndNoFault) {
    // A "fmt " chunk claiming 16 bytes more than its place, then an odd-sized "LIST": no sample
    // bytes are left, and the empty read must not touch the empty buffer (found by the fuzzer
    // under the sanitizers).
    const std::vector<uint8_t> bytes = {
        0x52, 0x49, 0x46, 0x46, 0x6e, 0x00, 0x00, 0x00, 0x57, 0x41, 0x56, 0x45, 0x66, 0x6d, 0x74,
        0x20, 0x10, 0x00, 0x00, 0x10, 0x01, 0x00, 0x01, 0x00, 0x22, 0x56, 0x00, 0x00, 0x44, 0xac,
        0x00, 0x00, 0x02, 0x00, 0x10, 0x00, 0x4c, 0x49, 0x53, 0x54, 0x05, 0x00, 0x00, 0x00, 0x49,
        0x4e, 0x46, 0x4f, 0x78, 0x00, 0x64, 0x61, 0x74, 0x61, 0x3c, 0x00, 0x00, 0x00, 0x00, 0x00,
        0x01, 0x00, 0x02, 0x00, 0x03, 0x00, 0x04, 0x00, 0x05, 0x00, 0x06, 0x00, 0x07, 0x00, 0x08,
        0x00, 0x09, 0x00, 0x0a, 0x00, 0x0b, 0x00, 0x0c, 0x00, 0x0d, 0x00, 0x0e, 0x00, 0x0f, 0x00,
        0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x11, 0x00, 0x12, 0x00,
        0x13, 0x00, 0x14, 0x00, 0x15, 0x00, 0x16, 0x00, 0x17, 0x00, 0x18, 0x00, 0x19, 0x00, 0x1a,
        0x00, 0x1b, 0x00, 0x1c, 0x00, 0x1d, 0x00,
    };
    EXPECT_EQ(importError(bytes), WaveImportError::NoData);
}

TEST_F(WaveImport, AnotherChunkBeforeTheDataIsTakenAsSamples) {
    WaveSpec spec;
    spec.extraChunk = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 0, 1, 0, 2};
    ASSERT_TRUE(import(makeWave(spec, std::vector<int32_t>(10, 0))));
    // 12 + 8 + 20 bytes after "fmt ": 18 skipped, 11 samples, the first from the data header.
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 11);
}

TEST_F(WaveImport, LongFilesAreCutAfter800000Bytes) {
    std::vector<int32_t> values(450000, 256);
    ASSERT_TRUE(import(makeWave({}, values)));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 399991);
}

} // namespace
