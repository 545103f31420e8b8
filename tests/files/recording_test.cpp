// Recording: the temporary file and the hooks that fill it.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "app/app_state.h"
#include "engine/stream.h"
#include "files/recording.h"
#include "files/temp_recording_file.h"
#include "tests/files/scratch_folder.h"
#include "tools/reset_song.h"

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream buffer;
    buffer << in.rdbuf();
    return buffer.str();
}

// A fresh application record with a built stream: the hooks read its chunk length and rate.
std::unique_ptr<AppState> makeApp() {
    auto app = std::make_unique<AppState>();
    resetSong(app->song, app->clipboards, app->ui.currentInstrument);
    rebuildStream(*app);
    return app;
}

// Every test records into its own temporary directory.
class Recording : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* old = std::getenv("TMPDIR");
        hadTmpdir = old != nullptr;
        if (old) oldTmpdir = old;
        setenv("TMPDIR", tmp.path.c_str(), 1);
    }
    void TearDown() override {
        if (app->recording.file) endRecordingFile(*app);
        if (hadTmpdir)
            setenv("TMPDIR", oldTmpdir.c_str(), 1);
        else
            unsetenv("TMPDIR");
    }
    // One chunk of the current chunk length: samples -1, -32768, 0, 1234, then 7, 8, 9, ...
    std::vector<int16_t> chunk() const {
        std::vector<int16_t> samples(2 * static_cast<size_t>(app->engine.chunkFrames));
        for (size_t k = 0; k < samples.size(); ++k) samples[k] = static_cast<int16_t>(k + 3);
        samples[0] = -1;
        samples[1] = -32768;
        samples[2] = 0;
        samples[3] = 1234;
        return samples;
    }
    void recordChunks(int count) {
        ASSERT_TRUE(beginRecordingFile(*app));
        std::vector<int16_t> samples = chunk();
        for (int c = 0; c < count; ++c)
            appendRecordedChunk(*app, samples.data(), static_cast<int>(samples.size()));
    }

    ScratchFolder tmp;
    ScratchFolder out;
    std::string oldTmpdir;
    bool hadTmpdir = false;
    std::unique_ptr<AppState> app = makeApp();
};

TEST_F(Recording, OneChunkAt70BpmAnd22050Hz) {
    ASSERT_EQ(app->engine.chunkFrames, 4725);
    recordChunks(1);
    endRecordingFile(*app);
    EXPECT_EQ(app->recording.recordedChunks, 1);
    EXPECT_FALSE(app->recording.active);

    const std::string text = readFile(tempRecordingPath());
    EXPECT_EQ(text.rfind("65535 32768 0 1234 7 8 9 ", 0), 0u);
    EXPECT_EQ(text.back(), ' ');

    EXPECT_EQ(app->recording.recordedRate, 22050);
    EXPECT_EQ(app->recording.recordedChunkFrames, 4725);
    // 9450 values, each followed by a blank.
    int values = 0;
    for (char c : text) values += c == ' ';
    EXPECT_EQ(values, 9450);
}

TEST_F(Recording, StreamRebuildEndsARunningRecording) {
    recordChunks(1);
    app->recording.stopRequested = 1;
    rebuildStream(*app);
    EXPECT_FALSE(app->recording.active);
    EXPECT_FALSE(app->recording.stopRequested);
    EXPECT_EQ(app->recording.file, nullptr);
    EXPECT_EQ(app->recording.recordedChunks, 1);
}

TEST_F(Recording, AFullDiskEndsTheTake) {
    recordChunks(1);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 60000; // room for the first chunk's text only
    setrlimit(RLIMIT_FSIZE, &small);
    std::vector<int16_t> samples = chunk();
    for (int c = 0; c < 5; ++c)
        appendRecordedChunk(*app, samples.data(), static_cast<int>(samples.size()));
    setrlimit(RLIMIT_FSIZE, &saved);
    // The first failed write stopped the recording, to be told once.
    EXPECT_EQ(app->recording.recordedChunks, 1);
    EXPECT_TRUE(app->recording.writeFailed);
    EXPECT_TRUE(app->recording.writeFailureToTell);
    EXPECT_FALSE(app->recording.active);
    EXPECT_EQ(app->recording.file, nullptr);
    // A new recording starts whole.
    recordChunks(1);
    EXPECT_FALSE(app->recording.writeFailed);
    EXPECT_FALSE(app->recording.writeFailureToTell);
    endRecordingFile(*app);
}

TEST_F(Recording, TemporaryFileIsPrivateAndNeverFollowsALink) {
    recordChunks(1);
    endRecordingFile(*app);
    const std::string folder = tmp.file("humbrook-" + std::to_string(getuid()));
    EXPECT_EQ(tempRecordingPath(), folder + "/TempHB101.dat");
    struct stat info;
    ASSERT_EQ(stat(folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);

    // A link planted in the file's place is not followed: the start fails, the target is kept.
    const std::string victim = out.file("victim");
    std::ofstream(victim) << "precious";
    unlink(tempRecordingPath().c_str());
    ASSERT_EQ(symlink(victim.c_str(), tempRecordingPath().c_str()), 0);
    EXPECT_FALSE(beginRecordingFile(*app));
    EXPECT_FALSE(app->recording.active);
    EXPECT_EQ(app->recording.recordedChunks, 1) << "the last recording is still there to save";
    EXPECT_EQ(readFile(victim), "precious");

    // A folder others may write into is not used.
    unlink(tempRecordingPath().c_str());
    chmod(folder.c_str(), 0777);
    EXPECT_FALSE(beginRecordingFile(*app));
    chmod(folder.c_str(), 0700);
    EXPECT_TRUE(beginRecordingFile(*app));
}

TEST_F(Recording, NoTemporaryFolderMeansNoRecording) {
    const std::string notAFolder = tmp.file("plain");
    std::ofstream(notAFolder) << "x";
    setenv("TMPDIR", notAFolder.c_str(), 1);
    EXPECT_FALSE(beginRecordingFile(*app));
    EXPECT_FALSE(app->recording.active);
    EXPECT_EQ(app->recording.file, nullptr);
}

} // namespace
