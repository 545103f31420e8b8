// Files that are not what they claim: huge sparse files, endless devices, pipes with no writer.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "fake_platform.h"
#include "files/file_bytes.h"
#include "files/song_commands.h"
#include "files/song_reader.h"
#include "files/wave_import.h"

namespace {

// A file of `size` bytes that takes no room on disk (as `truncate -s` makes it).
std::string sparseFile(const ScratchFolder& folder, const std::string& name, off_t size) {
    const std::string path = folder.file(name);
    std::ofstream{path};
    EXPECT_EQ(truncate(path.c_str(), size), 0);
    return path;
}

std::string fifo(const ScratchFolder& folder) {
    const std::string path = folder.file("pipe");
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    return path;
}

// A reader that blocks or reads without end is killed by the alarm and fails the test.
struct Deadline {
    Deadline() { alarm(20); }
    ~Deadline() { alarm(0); }
};

constexpr off_t k100GB = off_t{100} << 30;

TEST(HostileFiles, OnlyRegularFilesAreRead) {
    Deadline deadline;
    ScratchFolder folder;
    FileBytes file;
    EXPECT_EQ(openFileBytes("/dev/zero", file, SIZE_MAX), FileOpenResult::CannotOpen);
    EXPECT_EQ(openFileBytes(fifo(folder), file, SIZE_MAX), FileOpenResult::CannotOpen);
    EXPECT_EQ(openFileBytes(folder.path, file, SIZE_MAX), FileOpenResult::CannotOpen);
    EXPECT_EQ(openFileBytes(folder.file("absent"), file, SIZE_MAX), FileOpenResult::CannotOpen);
    EXPECT_EQ(file.size, 0u);
}

TEST(HostileFiles, NothingBeyondTheLimitIsRead) {
    Deadline deadline;
    ScratchFolder folder;
    const std::string path = folder.file("ten");
    std::ofstream(path) << "0123456789";
    FileBytes file;
    ASSERT_EQ(openFileBytes(path, file, 10), FileOpenResult::Opened);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(file.data), file.size), "0123456789");
    EXPECT_EQ(openFileBytes(path, file, 9), FileOpenResult::TooLarge);
    EXPECT_EQ(file.data, nullptr);
    // Refused from its size alone: reserving or reading 100 GB would throw or take minutes.
    EXPECT_EQ(openFileBytes(sparseFile(folder, "huge", k100GB), file, size_t{1} << 30),
              FileOpenResult::TooLarge);
}

TEST(HostileFiles, SongsThatCannotBeReadAreRefusedWithAMessage) {
    Deadline deadline;
    ScratchFolder folder;
    auto app = makeApp();
    app->song.BPM = 123.0f;
    FakePlatform platform;
    const off_t justTooLarge = static_cast<off_t>(kMaxSongFileBytes) + 1;
    for (const std::string& path :
         {sparseFile(folder, "huge.zwv", k100GB), sparseFile(folder, "over.zwv", justTooLarge)})
        EXPECT_FALSE(loadSongFromPath(*app, path, platform));
    for (const std::string& path : {std::string("/dev/zero"), fifo(folder), folder.path})
        EXPECT_FALSE(loadSongFromPath(*app, path, platform));
    // No title change, and the song in the window is untouched.
    EXPECT_EQ(platform.events,
              (std::vector<std::string>{"beep", "message||File Too Large|warning", "beep",
                                        "message||File Too Large|warning", "beep",
                                        "message||Couldn't Open File|warning", "beep",
                                        "message||Couldn't Open File|warning", "beep",
                                        "message||Couldn't Open File|warning"}));
    EXPECT_EQ(app->song.BPM, 123.0f);
}

TEST(HostileFiles, SpecialFilesAreNoWaves) {
    Deadline deadline;
    ScratchFolder folder;
    auto app = makeApp();
    FakePlatform platform;
    EXPECT_FALSE(importWaveFromPath(*app, 1, "/dev/zero", platform));
    EXPECT_FALSE(importWaveFromPath(*app, 1, fifo(folder), platform));
    EXPECT_EQ(platform.warnings(),
              (std::vector<std::string>{"Couldn't Open File ", "Couldn't Open File "}));
    EXPECT_EQ(app->song.SoundType[1], 0);
}

} // namespace
