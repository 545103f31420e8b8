// The recorded WAV: header, samples converted from the temporary text, failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "files/recorded_wave.h"
#include "files/temp_recording_file.h"
#include "tests/files/file_reading.h"
#include "tests/files/scratch_folder.h"

namespace {

uint32_t le32(const std::string& bytes, size_t at) {
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[at + i]);
    return v;
}

uint16_t le16(const std::string& bytes, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(bytes[at]) |
                                 (static_cast<uint8_t>(bytes[at + 1]) << 8));
}

// Every test has its own temporary directory, holding the text the recording hooks write.
class RecordedWave : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        hadTmpdir = old != nullptr;
        if (old) oldTmpdir = old;
        setenv("TMPDIR", tmp.path.c_str(), 1);
        ASSERT_TRUE(preparePrivateTempFolder());
    }
    void TearDown() override {
        if (hadTmpdir)
            setenv("TMPDIR", oldTmpdir.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    void writeTempText(const std::string& text) { std::ofstream(tempRecordingPath()) << text; }

    ScratchFolder tmp;
    ScratchFolder out;
    std::string oldTmpdir;
    bool hadTmpdir = false;
};

TEST_F(RecordedWave, HeaderAndSamples) {
    // Two chunks of three stereo frames, as the hooks write them: unsigned 16-bit values.
    writeTempText("65535 32768 0 1234 7 8 9 10 11 12 13 14 15 16 17 18 19 20 ");
    const std::string path = out.file("take.wav");
    ASSERT_EQ(writeRecordedWaveFile({2, 3, 22050}, path), RecordedWaveWrite::Written);
    const std::string wave = readFile(path);
    ASSERT_EQ(wave.size(), 56u + 24u);
    EXPECT_EQ(wave.substr(0, 4), "RIFF");
    EXPECT_EQ(le32(wave, 4), 48u + 24u);
    EXPECT_EQ(wave.substr(8, 8), "WAVEfmt ");
    EXPECT_EQ(le32(wave, 16), 16u);
    EXPECT_EQ(le16(wave, 20), 1);
    EXPECT_EQ(le16(wave, 22), 2);
    EXPECT_EQ(le32(wave, 24), 22050u);
    EXPECT_EQ(le32(wave, 28), 88200u);
    EXPECT_EQ(le16(wave, 32), 4);
    EXPECT_EQ(le16(wave, 34), 16);
    EXPECT_EQ(wave.substr(36, 4), "fact");
    EXPECT_EQ(le32(wave, 40), 4u);
    EXPECT_EQ(le32(wave, 44), 6u);
    EXPECT_EQ(wave.substr(48, 4), "data");
    EXPECT_EQ(le32(wave, 52), 24u);
    EXPECT_EQ(wave.substr(56, 8), std::string("\xFF\xFF\x00\x80\x00\x00\xD2\x04", 8));
    for (int k = 4; k < 12; ++k) EXPECT_EQ(le16(wave, 56 + 2 * k), k + 3) << k;

    // The same take converted again gives the same file; a rate of 44100 is written as such.
    const std::string again = out.file("again.wav");
    ASSERT_EQ(writeRecordedWaveFile({2, 3, 22050}, again), RecordedWaveWrite::Written);
    EXPECT_EQ(readFile(again), wave);
    ASSERT_EQ(writeRecordedWaveFile({1, 3, 44100}, again), RecordedWaveWrite::Written);
    EXPECT_EQ(le32(readFile(again), 24), 44100u);
    EXPECT_EQ(readFile(again).size(), 56u + 12u);
}

TEST_F(RecordedWave, TextEndingEarlyRepeatsTheLastValue) {
    writeTempText("5 6 7 ");
    const std::string path = out.file("short.wav");
    ASSERT_EQ(writeRecordedWaveFile({1, 3, 22050}, path), RecordedWaveWrite::Written);
    const std::string wave = readFile(path);
    ASSERT_EQ(wave.size(), 56u + 12u);
    const int expected[6] = {5, 6, 7, 7, 7, 7};
    for (int k = 0; k < 6; ++k) EXPECT_EQ(le16(wave, 56 + 2 * k), expected[k]);

    // No chunks at all: a header with no samples.
    ASSERT_EQ(writeRecordedWaveFile({0, 3, 22050}, path), RecordedWaveWrite::Written);
    EXPECT_EQ(readFile(path).size(), 56u);
}

TEST_F(RecordedWave, FailuresLeaveTheOldFile) {
    const std::string path = out.file("old.wav");
    std::ofstream(path) << "old";
    EXPECT_EQ(writeRecordedWaveFile({1, 3, 22050}, path), RecordedWaveWrite::NoTempFile);
    EXPECT_EQ(readFile(path), "old");

    writeTempText("1 2 3 4 5 6 ");
    EXPECT_EQ(writeRecordedWaveFile({1, 3, 22050}, out.file("missing/x.wav")),
              RecordedWaveWrite::NotWritten);
    // More than a WAV file's 4 GB: refused before anything is written.
    EXPECT_EQ(writeRecordedWaveFile({1 << 20, 1 << 10, 22050}, path),
              RecordedWaveWrite::NotWritten);
    EXPECT_EQ(readFile(path), "old");
}

} // namespace
