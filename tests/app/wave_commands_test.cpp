// File > Import Wave and File > Save Recorded Wave: dialogs, messages, rebuilds, the recording.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <unistd.h>

#include "app/wave_commands.h"
#include "fake_platform.h"
#include "files/recording.h"
#include "files/temp_recording_file.h"
#include "tests/files/file_reading.h"
#include "tests/files/wave_bytes.h"

namespace {

class WaveImportCommand : public ::testing::Test {
  protected:
    std::vector<std::string> importWarnings(const std::vector<uint8_t>& bytes) {
        platform.events.clear();
        importWaveBytes(*app, 3, bytes.data(), bytes.size(), platform);
        return platform.warnings();
    }
    std::unique_ptr<AppState> app = makeApp();
    FakePlatform platform;
};

TEST_F(WaveImportCommand, EveryRefusalShowsItsMessage) {
    const std::vector<int32_t> values(50, 1000);
    WaveSpec eightBit;
    eightBit.bytesPerSample = 1;
    WaveSpec fast;
    fast.rate = 48000;
    WaveSpec four;
    four.channels = 4;
    std::vector<uint8_t> notRiff = makeWave({}, values);
    std::memcpy(notRiff.data(), "RIFX", 4);
    const std::pair<std::vector<uint8_t>, const char*> cases[] = {
        {makeWave(eightBit, values), "Wrong number of bytes per sample "},
        {makeWave(fast, values), "Must be 44100 or 22050 Samples per Second "},
        {makeWave(four, values), "Must be Stereo or Mono Sound File "},
        {notRiff, "Couldn't Open File "},
        {makeWave({}, {}), "No Data Found"},
    };
    for (const auto& [bytes, message] : cases)
        EXPECT_EQ(importWarnings(bytes), std::vector<std::string>{message}) << message;
    EXPECT_EQ(app->song.SoundType[3], 0);
}

TEST_F(WaveImportCommand, AnImportRebuildsThePlaybackWaveform) {
    app->song.SoundEffect[3][kKnobNoise].value = 0.9f;
    float before[kWaveformSamples + 1];
    std::memcpy(before, app->engine.playbackWaveforms.wave[3], sizeof before);
    const std::vector<uint8_t> bytes = makeWave({}, std::vector<int32_t>(25, 768));
    ASSERT_TRUE(importWaveBytes(*app, 3, bytes.data(), bytes.size(), platform));
    // MIX 0.5, HIGH 0, NOISE 0: the playback form is the drawing half and half with the next.
    EXPECT_NE(std::memcmp(before, app->engine.playbackWaveforms.wave[3], sizeof before), 0);
    for (int k : {0, 100, 349})
        EXPECT_EQ(app->engine.playbackWaveforms.wave[3][k],
                  app->song.Sound[3][k] * 0.5f + app->song.Sound[4][k] * 0.5f);
}

TEST_F(WaveImportCommand, DialogAndFile) {
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
    // A slot outside 0..7 asks for no file.
    EXPECT_FALSE(importWaveFile(*app, platform, 8));
    EXPECT_EQ(platform.dialogs.size(), 4u);
}

// Every recording test records into its own temporary directory.
class RecordedWaveCommand : public ::testing::Test {
  protected:
    void TearDown() override {
        if (app->recording.file) endRecordingFile(app->recording);
    }
    // Records `count` chunks of the current chunk length: samples -1, -32768, 0, 1234, 7, 8, ...
    void recordChunks(int count) {
        ASSERT_TRUE(
            beginRecordingFile(app->recording, app->engine.streamRate, app->engine.chunkFrames));
        std::vector<int16_t> samples(2 * static_cast<size_t>(app->engine.chunkFrames));
        for (size_t k = 0; k < samples.size(); ++k) samples[k] = static_cast<int16_t>(k + 3);
        samples[0] = -1;
        samples[1] = -32768;
        samples[2] = 0;
        samples[3] = 1234;
        for (int c = 0; c < count; ++c)
            appendRecordedChunk(app->recording, samples.data(), static_cast<int>(samples.size()));
    }

    ScratchFolder tmp;
    ScratchFolder out;
    std::unique_ptr<AppState> app = makeApp();
    TmpdirOverride tmpdir{tmp.path}; // every test records into its own temporary folder
    FakePlatform platform;
};

TEST_F(RecordedWaveCommand, KeepsTheFormatItWasMadeWith) {
    recordChunks(2);
    endRecordingFile(app->recording);
    app->song.BPM = 120.0f;
    app->stream.format.sampleRate = 44100;
    rebuildStream(app->song, app->engine, app->stream, nullptr);
    ASSERT_NE(app->engine.chunkFrames, 4725);
    const std::string path = out.file("take.wav");
    ASSERT_TRUE(writeRecordedWave(*app, path, platform));
    EXPECT_TRUE(platform.events.empty());
    const std::string wave = readFile(path);
    EXPECT_EQ(wave.substr(24, 4), std::string("\x22\x56\x00\x00", 4)); // 22050
    EXPECT_EQ(wave.size(), 56u + 2 * 18900u);
}

TEST_F(RecordedWaveCommand, SavingWhileRecordingFlushesEveryCountedChunk) {
    app->engine.chunkFrames = 3; // a chunk small enough to stay in the file's buffer
    recordChunks(2);
    ASSERT_TRUE(app->recording.active);
    const std::string path = out.file("running.wav");
    ASSERT_TRUE(writeRecordedWave(*app, path, platform));
    const std::string wave = readFile(path);
    ASSERT_EQ(wave.size(), 56u + 2 * 12u);
    EXPECT_EQ(wave.substr(56 + 12, 8), std::string("\xFF\xFF\x00\x80\x00\x00\xD2\x04", 8));
    EXPECT_TRUE(app->recording.active) << "the recording goes on";
}

TEST_F(RecordedWaveCommand, AFullDiskEndsTheTakeAndItsWaveSaysItIsIncomplete) {
    recordChunks(1);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 60000; // room for the first chunk's text only
    setrlimit(RLIMIT_FSIZE, &small);
    std::vector<int16_t> samples(2 * static_cast<size_t>(app->engine.chunkFrames), 5);
    for (int c = 0; c < 5; ++c)
        appendRecordedChunk(app->recording, samples.data(), static_cast<int>(samples.size()));
    setrlimit(RLIMIT_FSIZE, &saved);
    // The take up to there is saved, with a word that it is not all of it.
    const std::string path = out.file("first.wav");
    ASSERT_TRUE(writeRecordedWave(*app, path, platform));
    EXPECT_EQ(readFile(path).size(), 18956u);
    EXPECT_EQ(platform.warnings(), std::vector<std::string>{"Recording Incomplete"});
    // A new recording starts whole.
    platform.events.clear();
    recordChunks(1);
    endRecordingFile(app->recording);
    ASSERT_TRUE(writeRecordedWave(*app, path, platform));
    EXPECT_TRUE(platform.warnings().empty());
}

TEST_F(RecordedWaveCommand, ConversionFailuresAreReported) {
    recordChunks(1);
    endRecordingFile(app->recording);
    unlink(tempRecordingPath().c_str());
    const std::string path = out.file("old.wav");
    std::ofstream(path) << "old";
    EXPECT_FALSE(writeRecordedWave(*app, path, platform));
    EXPECT_EQ(platform.warnings(),
              (std::vector<std::string>{"Couldn't Open Temp File", "Problem writing Wave file"}));
    EXPECT_EQ(readFile(path), "old") << "a failed conversion leaves the old file";

    platform.events.clear();
    recordChunks(1);
    endRecordingFile(app->recording);
    EXPECT_FALSE(writeRecordedWave(*app, out.file("missing/x.wav"), platform));
    EXPECT_EQ(platform.warnings(), std::vector<std::string>{"Problem writing Wave file"});
}

TEST_F(RecordedWaveCommand, SaveDialog) {
    recordChunks(1);
    endRecordingFile(app->recording);
    EXPECT_FALSE(saveRecordedWave(*app, platform)); // cancelled
    EXPECT_TRUE(platform.events.empty());
    ASSERT_EQ(platform.dialogs.size(), 1u);
    const FileDialogRequest& dialog = platform.dialogs[0];
    EXPECT_EQ(dialog.presetName, "out.wav");
    EXPECT_EQ(dialog.defaultExtension, "wav");
    EXPECT_TRUE(dialog.overwritePrompt);
    ASSERT_EQ(dialog.filters.size(), 2u);
    EXPECT_EQ(dialog.filters[0].description, "Wave Files");
    EXPECT_EQ(dialog.filters[0].pattern, "*.wav");
    EXPECT_EQ(dialog.filters[1].description, "All Files");
    platform.answers.push_back(out.file("chosen.wav"));
    EXPECT_TRUE(saveRecordedWave(*app, platform));
    EXPECT_EQ(readFile(out.file("chosen.wav")).size(), 18956u);
}

} // namespace
