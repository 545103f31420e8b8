// WAV import: the checks in order, the skipped bytes, conversion and clamping, the slot's state.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <vector>

#include "fake_platform.h"
#include "files/wave_commands.h"
#include "files/wave_import.h"

namespace {

void put16(std::vector<uint8_t>& bytes, uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& bytes, uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void putTag(std::vector<uint8_t>& bytes, const char* tag) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(tag[i]));
}

struct WaveSpec {
    int channels = 1;
    uint32_t rate = 22050;
    int bytesPerSample = 2;
    uint16_t formatTag = 1;
    std::vector<uint8_t> extraChunk; // a whole chunk placed between "fmt " and "data"
};

// A WAV file whose data chunk holds `values` (bytesPerSample each, little-endian).
std::vector<uint8_t> makeWave(const WaveSpec& spec, const std::vector<int32_t>& values) {
    std::vector<uint8_t> bytes;
    putTag(bytes, "RIFF");
    put32(bytes, 0); // filled in below
    putTag(bytes, "WAVE");
    putTag(bytes, "fmt ");
    put32(bytes, 16);
    put16(bytes, spec.formatTag);
    put16(bytes, static_cast<uint16_t>(spec.channels));
    put32(bytes, spec.rate);
    const int blockAlign = spec.channels * spec.bytesPerSample;
    put32(bytes, spec.rate * blockAlign);
    put16(bytes, static_cast<uint16_t>(blockAlign));
    put16(bytes, static_cast<uint16_t>(8 * spec.bytesPerSample));
    bytes.insert(bytes.end(), spec.extraChunk.begin(), spec.extraChunk.end());
    putTag(bytes, "data");
    put32(bytes, static_cast<uint32_t>(values.size() * spec.bytesPerSample));
    for (int32_t v : values)
        for (int b = 0; b < spec.bytesPerSample; ++b)
            bytes.push_back(static_cast<uint8_t>(v >> (8 * b)));
    const uint32_t riffSize = static_cast<uint32_t>(bytes.size() - 8);
    std::memcpy(bytes.data() + 4, &riffSize, 4);
    return bytes;
}

class WaveImport : public ::testing::Test {
  protected:
    bool import(const std::vector<uint8_t>& bytes, int slot = 3) {
        return importWaveBytes(*app, slot, bytes.data(), bytes.size(), platform);
    }
    std::vector<std::string> importWarnings(const std::vector<uint8_t>& bytes) {
        platform.events.clear();
        import(bytes);
        return platform.warnings();
    }
    std::unique_ptr<AppState> app = makeApp();
    FakePlatform platform;
};

TEST_F(WaveImport, MonoFileSkipsFiveSamplesAndClamps) {
    std::vector<int32_t> values(1000);
    for (int k = 0; k < 1000; ++k) values[k] = k * 16 - 8000;
    values[5] = 0x7FFF;
    values[6] = -32768;
    values[7] = 0x0180; // 1.5
    app->song.SoundEffect[3][kKnobHigh].value = 0.7f;
    float drawn[kWaveformSamples];
    std::memcpy(drawn, app->song.Sound[3], sizeof drawn);

    ASSERT_TRUE(import(makeWave({}, values)));
    EXPECT_TRUE(platform.events.empty());
    const Song& song = app->song;
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

    // A second import replaces the samples.
    ASSERT_TRUE(import(makeWave({}, std::vector<int32_t>(105, 512))));
    EXPECT_EQ(song.SoundFileVals[3].fileSampleCount, 100);
    EXPECT_EQ(samples[0], 2.0f);
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
    const Song& song = app->song;
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

    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {makeWave(eightBit, values), "Wrong number of bytes per sample "},
        {makeWave(twentyFourBit, values), "Wrong number of bytes per sample "},
        {makeWave(fast, values), "Must be 44100 or 22050 Samples per Second "},
        {makeWave(four, values), "Must be Stereo or Mono Sound File "},
        {notRiff, "Couldn't Open File "},
        {smallFormat, "Couldn't Open File "},
        {noFormat, "Couldn't Open File "},
        {std::vector<uint8_t>(notRiff.begin(), notRiff.begin() + 10), "Couldn't Open File "},
        {makeWave({}, {}), "No Data Found"},
    };
    app->song.SoundEffect[3][kKnobMix].value = 0.25f;
    for (const auto& [bytes, message] : cases) {
        EXPECT_EQ(importWarnings(bytes), std::vector<std::string>{message}) << message;
        EXPECT_EQ(app->song.SoundType[3], 0);
        EXPECT_EQ(app->song.SoundEffect[3][kKnobMix].value, 0.25f);
        EXPECT_FALSE(app->song.SoundFileVals[3].fileSamples &&
                     app->song.SoundFileVals[3].fileSampleCount != 0);
    }
}

TEST_F(WaveImport, SizesInTheFileAreNotTrusted) {
    // At most 18 bytes after "fmt " (the data header and five samples) is no data.
    std::vector<uint8_t> bytes = makeWave({}, std::vector<int32_t>(5, 100));
    EXPECT_EQ(importWarnings(bytes), std::vector<std::string>{"No Data Found"});
    bytes = makeWave({}, std::vector<int32_t>(6, 512));
    bytes.pop_back(); // 19 bytes: half a sample is no sample either
    EXPECT_EQ(importWarnings(bytes), std::vector<std::string>{"No Data Found"});
    bytes = makeWave({}, std::vector<int32_t>(6, 512));
    EXPECT_TRUE(importWarnings(bytes).empty());
    EXPECT_EQ(app->song.SoundFileVals[3].fileSampleCount, 1);

    // Chunk and RIFF sizes far beyond the file: the read stops at the file's end.
    bytes = makeWave({}, std::vector<int32_t>(40, 256));
    std::memset(bytes.data() + 4, 0xFF, 4);
    std::memset(bytes.data() + 40, 0xFF, 4);
    EXPECT_TRUE(importWarnings(bytes).empty());
    EXPECT_EQ(app->song.SoundFileVals[3].fileSampleCount, 35);

    // A RIFF size smaller than the file limits the bytes read.
    bytes = makeWave({}, std::vector<int32_t>(40, 256));
    bytes[4] = 28;
    std::memset(bytes.data() + 5, 0, 3);
    EXPECT_TRUE(importWarnings(bytes).empty());
    EXPECT_EQ(app->song.SoundFileVals[3].fileSampleCount, 5);

    // A chunk before "fmt " whose size points past the end.
    std::vector<uint8_t> lost = makeWave({}, std::vector<int32_t>(40, 256));
    const uint8_t bogus[8] = {'L', 'I', 'S', 'T', 0xF0, 0xFF, 0xFF, 0x7F};
    lost.insert(lost.begin() + 12, bogus, bogus + 8);
    EXPECT_EQ(importWarnings(lost), std::vector<std::string>{"Couldn't Open File "});

    // A format that is not PCM must carry its extra-size field.
    WaveSpec floatFormat;
    floatFormat.formatTag = 3;
    bytes = makeWave(floatFormat, {});
    bytes.resize(36);
    EXPECT_EQ(importWarnings(bytes), std::vector<std::string>{"Couldn't Open File "});
}

TEST_F(WaveImport, AnotherChunkBeforeTheDataIsTakenAsSamples) {
    WaveSpec spec;
    spec.extraChunk = {'L', 'I', 'S', 'T', 4, 0, 0, 0, 0, 1, 0, 2};
    ASSERT_TRUE(import(makeWave(spec, std::vector<int32_t>(10, 0))));
    // 12 + 8 + 20 bytes after "fmt ": 18 skipped, 11 samples, the first from the data header.
    EXPECT_EQ(app->song.SoundFileVals[3].fileSampleCount, 11);
}

TEST_F(WaveImport, LongFilesAreCutAtTheRawBuffer) {
    std::vector<int32_t> values(450000, 256);
    ASSERT_TRUE(import(makeWave({}, values)));
    EXPECT_EQ(app->song.SoundFileVals[3].fileSampleCount, 399991);
}

TEST_F(WaveImport, DialogAndFile) {
    ScratchFolder folder;
    EXPECT_FALSE(importWaveFile(*app, platform, 2)); // cancelled
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].presetName, "out.wav");
    EXPECT_EQ(platform.dialogs[0].defaultExtension, "wav");
    EXPECT_FALSE(platform.dialogs[0].overwritePrompt);
    EXPECT_EQ(platform.dialogs[0].filters[0].pattern, "*.wav");

    const std::string path = folder.file("in.wav");
    const std::vector<uint8_t> bytes = makeWave({}, std::vector<int32_t>(25, 768));
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    platform.answers.push_back(path);
    EXPECT_TRUE(importWaveFile(*app, platform, 2));
    EXPECT_EQ(app->song.SoundFileVals[2].fileSampleCount, 20);
    EXPECT_EQ(app->song.SoundFileVals[2].fileSamples[19], 3.0f);

    platform.answers.push_back(folder.file("absent.wav"));
    EXPECT_FALSE(importWaveFile(*app, platform, 2));
    platform.answers.push_back(folder.path);
    EXPECT_FALSE(importWaveFile(*app, platform, 2));
    EXPECT_EQ(platform.warnings(),
              (std::vector<std::string>{"Couldn't Open File ", "Couldn't Open File "}));
}

} // namespace
