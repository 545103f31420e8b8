// Files that are not what they claim: huge sparse files, endless devices, pipes with no writer.
#include <gtest/gtest.h>

#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/song_commands.h"
#include "app/wave_commands.h"
#include "fake_platform.h"
#include "files/file_bytes.h"
#include "files/song_reader.h"

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

// Bytes written at the start of a file, as a WAV header on a sparse file.
void writeAt(const std::string& path, off_t offset, const std::vector<uint8_t>& bytes) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(offset);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

std::vector<uint8_t> chunk(const char* tag, uint32_t size) {
    std::vector<uint8_t> bytes(tag, tag + 4);
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(size >> (8 * i)));
    return bytes;
}

// "RIFF" with the largest size, then "WAVE".
std::vector<uint8_t> riffHeader() {
    std::vector<uint8_t> bytes = chunk("RIFF", 0xFFFFFFFFu);
    bytes.insert(bytes.end(), {'W', 'A', 'V', 'E'});
    return bytes;
}

// The format chunk of mono 22050 Hz 16-bit samples.
std::vector<uint8_t> formatChunk() {
    std::vector<uint8_t> bytes = chunk("fmt ", 16);
    bytes.insert(bytes.end(), {1, 0, 1, 0, 0x22, 0x56, 0, 0, 0x44, 0xAC, 0, 0, 2, 0, 16, 0});
    return bytes;
}

std::vector<uint8_t> operator+(std::vector<uint8_t> a, const std::vector<uint8_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

long peakMemoryKB() {
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

TEST(HostileFiles, AHugeWaveCostsNoMoreThanTheSamplesItGives) {
    Deadline deadline;
    ScratchFolder folder;
    auto app = makeApp();
    FakePlatform platform;
    const long peakBefore = peakMemoryKB();
    // 100 GB: the header, then silence; 1 GB the same.
    for (off_t size : {k100GB, off_t{1} << 30}) {
        const std::string path = sparseFile(folder, "huge.wav", size);
        writeAt(path, 0, riffHeader() + formatChunk());
        app->song.SoundFileVals[2].fileSampleCount = 0;
        EXPECT_TRUE(importWaveFromPath(*app, 2, path, platform)) << size;
        EXPECT_EQ(app->song.SoundFileVals[2].fileSampleCount, 399991);
    }
    // The format behind a 2 GB chunk is found without reading what lies between.
    const std::string behind = sparseFile(folder, "behind.wav", off_t{3} << 30);
    writeAt(behind, 0, riffHeader() + chunk("JUNK", 0x80000000u));
    writeAt(behind, 20 + 0x80000000ll, formatChunk());
    EXPECT_TRUE(importWaveFromPath(*app, 4, behind, platform));
    EXPECT_EQ(app->song.SoundFileVals[4].fileSampleCount, 399991);
    EXPECT_LT(peakMemoryKB() - peakBefore, 100 * 1024) << "no more than a few MB was read";
    EXPECT_TRUE(platform.warnings().empty());
}

TEST(HostileFiles, AWaveOfEndlessEmptyChunksIsRefusedSoon) {
    Deadline deadline;
    ScratchFolder folder;
    auto app = makeApp();
    FakePlatform platform;
    // "RIFF" and "WAVE", then 100 GB of zero bytes: chunks of size 0, eight bytes apart.
    const std::string path = sparseFile(folder, "empty-chunks.wav", k100GB);
    writeAt(path, 0, riffHeader());
    EXPECT_FALSE(importWaveFromPath(*app, 2, path, platform));
    EXPECT_EQ(platform.warnings(), std::vector<std::string>{"Couldn't Open File "});
}

} // namespace
