// Saving safely: interrupted saves, symbolic links, names at the file system's length limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <dirent.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "files/safe_file_writer.h"
#include "tests/files/file_reading.h"
#include "tests/files/scratch_folder.h"

namespace {

// Every name in the folder, hidden ones included, sorted.
std::vector<std::string> entries(const std::string& folder) {
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    while (dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

bool save(const std::string& path, const std::string& text) {
    SafeFileWriter writer;
    if (!beginSafeFile(writer, path)) return false;
    writeSafeFile(writer, text.data(), text.size());
    return commitSafeFile(writer);
}

// A save killed after writing part of its file, as a crash or a power cut leaves it.
void interruptedSave(const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        SafeFileWriter writer;
        if (beginSafeFile(writer, path)) writeSafeFile(writer, "half a song", 11);
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
}

bool isLink(const std::string& path) {
    struct stat info;
    return lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

TEST(SafeFileWriter, TheNextSaveRemovesWhatAnInterruptedOneLeft) {
    ScratchFolder folder;
    const std::string song = folder.file("song.zwv");
    std::ofstream(song) << "old";
    std::ofstream(folder.file("song.zwv.tmp-Ab12Cd")) << "not ours";
    std::ofstream(folder.file(".other.zwv.humbrook-tmp")) << "another song's";
    const std::vector<std::string> before = entries(folder.path);
    interruptedSave(song);
    EXPECT_EQ(readFile(song), "old");
    EXPECT_GT(entries(folder.path).size(), before.size());
    ASSERT_TRUE(save(song, "new"));
    EXPECT_EQ(readFile(song), "new");
    EXPECT_EQ(entries(folder.path), before);
}

TEST(SafeFileWriter, ASaveRunningElsewhereIsNotDisturbed) {
    ScratchFolder folder;
    const std::string song = folder.file("song.zwv");
    SafeFileWriter first;
    ASSERT_TRUE(beginSafeFile(first, song));
    writeSafeFile(first, "first", 5);
    SafeFileWriter second;
    EXPECT_FALSE(beginSafeFile(second, song));
    ASSERT_TRUE(commitSafeFile(first));
    EXPECT_EQ(readFile(song), "first");
    EXPECT_TRUE(save(song, "second"));
    EXPECT_EQ(readFile(song), "second");
    EXPECT_EQ(entries(folder.path), std::vector<std::string>{"song.zwv"});
}

TEST(SafeFileWriter, SavingThroughLinksKeepsThem) {
    ScratchFolder folder;
    ASSERT_EQ(mkdir(folder.file("songs").c_str(), 0700), 0);
    // A dangling link: the file it names is created, the link stays.
    const std::string dangling = folder.file("dangling.zwv");
    ASSERT_EQ(symlink("songs/new.zwv", dangling.c_str()), 0);
    ASSERT_TRUE(save(dangling, "created"));
    EXPECT_TRUE(isLink(dangling));
    EXPECT_EQ(readFile(folder.file("songs/new.zwv")), "created");
    // A chain of links, one relative to its own folder: the last file is replaced.
    const std::string inner = folder.file("songs/inner.zwv");
    ASSERT_EQ(symlink("new.zwv", inner.c_str()), 0);
    const std::string outer = folder.file("outer.zwv");
    ASSERT_EQ(symlink(inner.c_str(), outer.c_str()), 0);
    ASSERT_TRUE(save(outer, "replaced"));
    EXPECT_TRUE(isLink(outer));
    EXPECT_TRUE(isLink(inner));
    EXPECT_EQ(readFile(folder.file("songs/new.zwv")), "replaced");
    EXPECT_EQ(entries(folder.file("songs")), (std::vector<std::string>{"inner.zwv", "new.zwv"}));
    // A loop of links names no file.
    ASSERT_EQ(symlink("loop-b", folder.file("loop-a").c_str()), 0);
    ASSERT_EQ(symlink("loop-a", folder.file("loop-b").c_str()), 0);
    EXPECT_FALSE(save(folder.file("loop-a"), "nowhere"));
    EXPECT_TRUE(isLink(folder.file("loop-a")));
}

TEST(SafeFileWriter, NamesUpToTheLimitCanBeSaved) {
    ScratchFolder folder;
    const long nameMax = pathconf(folder.path.c_str(), _PC_NAME_MAX);
    ASSERT_GE(nameMax, 255);
    for (size_t length : {size_t{245}, size_t{250}, size_t{255}}) {
        const std::string name = std::string(length - 4, 'n') + ".zwv";
        const std::string song = folder.file(name);
        interruptedSave(song);
        ASSERT_TRUE(save(song, "long " + std::to_string(length))) << length;
        EXPECT_EQ(readFile(song), "long " + std::to_string(length));
    }
    // Two long names that differ only at their end get temporary files of their own.
    const std::string a = folder.file(std::string(250, 'x') + "a");
    const std::string b = folder.file(std::string(250, 'x') + "b");
    SafeFileWriter first, second;
    ASSERT_TRUE(beginSafeFile(first, a));
    ASSERT_TRUE(beginSafeFile(second, b));
    EXPECT_NE(first.tempPath, second.tempPath);
    abandonSafeFile(first);
    abandonSafeFile(second);
    EXPECT_EQ(entries(folder.path).size(), 3u);
}

} // namespace
