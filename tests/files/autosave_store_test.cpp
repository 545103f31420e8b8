// Autosave folders: where they live, that a running program's autosave is never offered, and
// what a program that ended leaves behind.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/autosave_store.h"
#include "files/song_writer.h"
#include "model/song.h"
#include "scratch_folder.h"
#include "tests/files/file_reading.h"

namespace {

// A song that tells copies apart by its tempo.
Song songWithTempo(float bpm) {
    Song song{};
    song.BPM = bpm;
    return song;
}

// Writes an autosave in a child process that then ends, as a program that was killed would.
void autosaveInEndedProgram(const std::string& root, float bpm, const std::string& original) {
    const pid_t child = fork();
    if (child == 0) {
        AutosaveFolder folder(root);
        _exit(folder.write(songWithTempo(bpm), original) ? 0 : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(AutosaveStore, RootFollowsTheStateFolderConvention) {
    EXPECT_EQ(autosaveRoot("/state", "/home/u"), "/state/humbrook/autosave");
    EXPECT_EQ(autosaveRoot("relative", "/home/u"), "/home/u/.local/state/humbrook/autosave");
    EXPECT_EQ(autosaveRoot("", "/home/u"), "/home/u/.local/state/humbrook/autosave");
    EXPECT_EQ(autosaveRoot(nullptr, nullptr), "");
    EXPECT_EQ(autosaveRoot(nullptr, "not/absolute"), "");
}

TEST(AutosaveStore, ARunningProgramsAutosaveIsNeverOffered) {
    ScratchFolder scratch;
    const std::string root = scratch.file("state/humbrook/autosave");
    AutosaveFolder own(root);
    EXPECT_FALSE(own.exists());
    const Song song = songWithTempo(91.0f);
    ASSERT_TRUE(own.write(song, "/songs/mine.zwv"));
    ASSERT_TRUE(own.exists());
    // Named after the process, with a unique ending; the song as a save writes it.
    const std::string name = own.path().substr(root.size() + 1);
    EXPECT_EQ(name.rfind(std::to_string(getpid()) + "-", 0), 0u) << name;
    std::string expected;
    appendSongText(song, expected);
    EXPECT_EQ(readFile(own.path() + "/song.zwv"), expected);
    EXPECT_EQ(readFile(own.path() + "/original"), "/songs/mine.zwv\n");
    struct stat info;
    ASSERT_EQ(stat(own.path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 077, 0u) << "the folder is closed to others";

    EXPECT_TRUE(findLeftAutosaves(root).empty()) << "its lock is held: the program still runs";
    ASSERT_TRUE(own.write(songWithTempo(92.0f), "/songs/mine.zwv"));
    EXPECT_NE(readFile(own.path() + "/song.zwv").find("BPM 92"), std::string::npos);
    const std::string path = own.path();
    EXPECT_TRUE(own.remove());
    EXPECT_FALSE(pathExists(path));
}

TEST(AutosaveStore, AnEndedProgramsAutosaveIsOfferedNewestFirst) {
    ScratchFolder scratch;
    const std::string root = scratch.file("autosave");
    autosaveInEndedProgram(root, 81.0f, "/songs/older.zwv");
    sleep(1); // the offers are ordered by the time their song was written
    autosaveInEndedProgram(root, 82.0f, "");
    // A folder a program left before its first autosave was complete is removed.
    ASSERT_EQ(mkdir((root + "/77-abcdef").c_str(), 0700), 0);

    const std::vector<LeftAutosave> left = findLeftAutosaves(root);
    ASSERT_EQ(left.size(), 2u);
    EXPECT_EQ(left[0].originalPath, "") << "a song never saved";
    EXPECT_EQ(left[1].originalPath, "/songs/older.zwv");
    EXPECT_GE(left[0].savedAt, left[1].savedAt);
    EXPECT_NE(readFile(left[1].folder + "/song.zwv").find("BPM 81"), std::string::npos);
    EXPECT_FALSE(pathExists(root + "/77-abcdef"));

    // Discard removes one; adopting moves the other into this program's own folder.
    EXPECT_TRUE(discardLeftAutosave(left[1]));
    AutosaveFolder own(root);
    ASSERT_TRUE(own.adopt(left[0].folder));
    EXPECT_FALSE(pathExists(left[0].folder));
    EXPECT_NE(readFile(own.path() + "/song.zwv").find("BPM 82"), std::string::npos);
    EXPECT_TRUE(findLeftAutosaves(root).empty()) << "adopted, it belongs to a running program";
}

TEST(AutosaveStore, ADamagedNoteOfTheSongsFileIsIgnored) {
    ScratchFolder scratch;
    const std::string root = scratch.file("autosave");
    autosaveInEndedProgram(root, 83.0f, "/songs/x.zwv");
    std::vector<LeftAutosave> left = findLeftAutosaves(root);
    ASSERT_EQ(left.size(), 1u);
    std::ofstream(left[0].folder + "/original", std::ios::binary) << "/a\x1b[2Jb.zwv\n";
    left = findLeftAutosaves(root);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].originalPath, "") << "control bytes in the path: offered as untitled";
    // A link in the song's place is no song.
    ASSERT_EQ(unlink((left[0].folder + "/song.zwv").c_str()), 0);
    ASSERT_EQ(symlink("/etc/passwd", (left[0].folder + "/song.zwv").c_str()), 0);
    EXPECT_TRUE(findLeftAutosaves(root).empty());
}

} // namespace
