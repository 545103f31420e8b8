// Recording: the temporary file and the hooks that fill it.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "app/app_state.h"
#include "engine/stream.h"
#include "files/recording.h"
#include "files/temp_recording_file.h"
#include "tests/files/file_reading.h"
#include "tests/files/scratch_folder.h"
#include "tools/reset_song.h"

namespace {

// A fresh application record with a built stream: the hooks read its chunk length and rate.
std::unique_ptr<AppState> makeApp() {
    auto app = std::make_unique<AppState>();
    resetSong(app->song, app->clipboards, app->ui.currentInstrument);
    rebuildStream(app->song, app->engine, app->stream, nullptr);
    return app;
}

// Every test records into its own temporary directory.
class Recording : public ::testing::Test {
  protected:
    void TearDown() override {
        if (app->recording.file) endRecordingFile(app->recording);
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
        ASSERT_TRUE(
            beginRecordingFile(app->recording, app->engine.streamRate, app->engine.chunkFrames));
        std::vector<int16_t> samples = chunk();
        for (int c = 0; c < count; ++c)
            appendRecordedChunk(app->recording, samples.data(), static_cast<int>(samples.size()));
    }

    ScratchFolder tmp;
    ScratchFolder out;
    std::unique_ptr<AppState> app = makeApp();
    TmpdirOverride tmpdir{tmp.path}; // every test records into its own temporary folder
};

TEST_F(Recording, OneChunkAt70BpmAnd22050Hz) {
    ASSERT_EQ(app->engine.chunkFrames, 4725);
    recordChunks(1);
    endRecordingFile(app->recording);
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
    FileRecorder recorder(app->recording);
    rebuildStream(app->song, app->engine, app->stream, &recorder);
    EXPECT_FALSE(app->recording.active);
    EXPECT_FALSE(app->recording.stopRequested);
    EXPECT_EQ(app->recording.file, nullptr);
    EXPECT_EQ(app->recording.recordedChunks, 1);
}

TEST_F(Recording, RecorderStartsAndStopsAtTheMeasureEndItIsGiven) {
    FileRecorder recorder(app->recording);
    EXPECT_FALSE(recorder.waitsForMeasureEnd());
    app->recording.startArmed = 1;
    ASSERT_TRUE(recorder.waitsForMeasureEnd());
    EXPECT_TRUE(recorder.atMeasureEnd(44100, 3));
    EXPECT_TRUE(recorder.isRecording());
    EXPECT_FALSE(recorder.waitsForMeasureEnd());
    EXPECT_EQ(app->recording.recordedRate, 44100);
    EXPECT_EQ(app->recording.recordedChunkFrames, 3);
    const int16_t samples[6] = {1, 2, 3, 4, 5, 6};
    recorder.appendChunk(samples, 6);
    EXPECT_EQ(app->recording.recordedChunks, 1);

    // A start and a stop waiting together: the new recording ends at once.
    app->recording.startArmed = 1;
    app->recording.stopRequested = 1;
    EXPECT_TRUE(recorder.atMeasureEnd(22050, 4725));
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_EQ(app->recording.recordedChunks, 0);
    EXPECT_FALSE(app->recording.startFailed);

    // A start that finds no temporary folder is reported through startFailed.
    const std::string notAFolder = tmp.file("plain");
    std::ofstream(notAFolder) << "x";
    setenv("TMPDIR", notAFolder.c_str(), 1);
    app->recording.startArmed = 1;
    EXPECT_TRUE(recorder.atMeasureEnd(22050, 4725));
    EXPECT_FALSE(recorder.isRecording());
    EXPECT_TRUE(app->recording.startFailed);
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
        appendRecordedChunk(app->recording, samples.data(), static_cast<int>(samples.size()));
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
    endRecordingFile(app->recording);
}

TEST_F(Recording, TemporaryFileIsPrivateAndNeverFollowsALink) {
    recordChunks(1);
    endRecordingFile(app->recording);
    const std::string userFolder = tmp.file("humbrook-" + std::to_string(getuid()));
    const std::string folder = userFolder + "/" + std::to_string(getpid());
    EXPECT_EQ(tempRecordingPath(), folder + "/TempHB101.dat");
    for (const std::string& path : {userFolder, folder}) {
        struct stat info;
        ASSERT_EQ(lstat(path.c_str(), &info), 0);
        EXPECT_TRUE(S_ISDIR(info.st_mode));
        EXPECT_EQ(info.st_mode & 0777, 0700u) << path;
    }

    // A link planted in the file's place is not followed: the start fails, the target is kept.
    const std::string victim = out.file("victim");
    std::ofstream(victim) << "precious";
    unlink(tempRecordingPath().c_str());
    ASSERT_EQ(symlink(victim.c_str(), tempRecordingPath().c_str()), 0);
    EXPECT_FALSE(
        beginRecordingFile(app->recording, app->engine.streamRate, app->engine.chunkFrames));
    EXPECT_FALSE(app->recording.active);
    EXPECT_EQ(app->recording.recordedChunks, 1) << "the last recording is still there to save";
    EXPECT_EQ(readFile(victim), "precious");

    // A folder others may write into is not used.
    unlink(tempRecordingPath().c_str());
    chmod(folder.c_str(), 0777);
    EXPECT_FALSE(
        beginRecordingFile(app->recording, app->engine.streamRate, app->engine.chunkFrames));
    chmod(folder.c_str(), 0700);
    EXPECT_TRUE(
        beginRecordingFile(app->recording, app->engine.streamRate, app->engine.chunkFrames));
}

// A program of its own (a forked child) that records "from CHILD" and reports the file's path;
// it runs until `release` is closed, or ends at once when `stay` is false.
struct OtherProgram {
    pid_t pid = -1;
    int release = -1;
    std::string path;

    explicit OtherProgram(bool stay) {
        int report[2], hold[2];
        if (pipe(report) != 0 || pipe(hold) != 0) return;
        pid = fork();
        if (pid == 0) {
            close(report[0]);
            close(hold[1]);
            std::FILE* file = createTempRecordingFile();
            if (file) std::fputs("from CHILD", file);
            const std::string own = file && std::fclose(file) == 0 ? tempRecordingPath() : "";
            if (write(report[1], own.data(), own.size()) < 0) _exit(1);
            close(report[1]);
            char c;
            while (stay && read(hold[0], &c, 1) > 0) {
            }
            _exit(0);
        }
        close(report[1]);
        close(hold[0]);
        release = hold[1];
        char buffer[512];
        ssize_t n;
        while ((n = read(report[0], buffer, sizeof buffer)) > 0) path.append(buffer, n);
        close(report[0]);
        if (!stay) end();
    }
    void end() {
        if (release >= 0) close(release);
        release = -1;
        if (pid > 0) waitpid(pid, nullptr, 0);
        pid = -1;
    }
    ~OtherProgram() { end(); }
};

std::string folderOf(const std::string& path) {
    return path.substr(0, path.rfind('/'));
}

TEST_F(Recording, EveryRunningProgramRecordsIntoItsOwnFolder) {
    const std::string userFolder = tmp.file("humbrook-" + std::to_string(getuid()));
    OtherProgram ended(false);
    OtherProgram running(true);
    ASSERT_FALSE(ended.path.empty());
    ASSERT_FALSE(running.path.empty());
    EXPECT_NE(ended.path, running.path);
    EXPECT_EQ(folderOf(folderOf(running.path)), userFolder);
    EXPECT_EQ(running.path.substr(running.path.rfind('/')), "/TempHB101.dat");
    // A folder of an old run whose pid is free, and things in the user's folder that are not
    // programs' folders.
    const std::string old = userFolder + "/4194305";
    ASSERT_EQ(mkdir(old.c_str(), 0700), 0);
    std::ofstream(old + "/TempHB101.dat") << "old take";
    std::ofstream(userFolder + "/notes") << "kept";
    ASSERT_EQ(mkdir((userFolder + "/12x").c_str(), 0700), 0);

    recordChunks(1);
    endRecordingFile(app->recording);
    EXPECT_EQ(readFile(tempRecordingPath()).substr(0, 11), "65535 32768");
    EXPECT_EQ(readFile(running.path), "from CHILD") << "the running program keeps its take";
    EXPECT_FALSE(pathExists(folderOf(ended.path))) << "the folder of an ended program is removed";
    EXPECT_FALSE(pathExists(old));
    EXPECT_TRUE(pathExists(userFolder + "/notes"));
    EXPECT_TRUE(pathExists(userFolder + "/12x"));

    // Once the other program has ended, the next program to make its folder removes the one left.
    const std::string runningFolder = folderOf(running.path);
    running.end();
    EXPECT_TRUE(pathExists(runningFolder));
    OtherProgram later(true);
    EXPECT_FALSE(pathExists(runningFolder));
    EXPECT_TRUE(pathExists(tempRecordingPath())) << "never the folder of a running program";
}

TEST_F(Recording, NoTemporaryFolderMeansNoRecording) {
    const std::string notAFolder = tmp.file("plain");
    std::ofstream(notAFolder) << "x";
    setenv("TMPDIR", notAFolder.c_str(), 1);
    EXPECT_FALSE(
        beginRecordingFile(app->recording, app->engine.streamRate, app->engine.chunkFrames));
    EXPECT_FALSE(app->recording.active);
    EXPECT_EQ(app->recording.file, nullptr);
}

} // namespace
