// File dialog names: typed names against the folder shown, the default extension, the folder
// above, and the all-files pattern.
#include <gtest/gtest.h>

#include "app/file_dialog_names.h"

namespace {

TEST(FileDialogNames, TypedNamesBecomePaths) {
    EXPECT_EQ(resolveTypedName("/home/u/songs", "a.zwv", "/home/u"), "/home/u/songs/a.zwv");
    EXPECT_EQ(resolveTypedName("/home/u/songs", "sub/a.zwv", nullptr), "/home/u/songs/sub/a.zwv");
    EXPECT_EQ(resolveTypedName("/home/u/songs", "../a.zwv", nullptr), "/home/u/songs/../a.zwv");
    EXPECT_EQ(resolveTypedName("/", "a.zwv", nullptr), "/a.zwv");
    EXPECT_EQ(resolveTypedName("/home/u/songs/", "a.zwv", nullptr), "/home/u/songs/a.zwv");
    EXPECT_EQ(resolveTypedName("/home/u/songs", "/tmp/x/a", "/home/u"), "/tmp/x/a")
        << "an absolute path stays as typed";
    EXPECT_EQ(resolveTypedName("/tmp", "~/a.zwv", "/home/u"), "/home/u/a.zwv");
    EXPECT_EQ(resolveTypedName("/tmp", "~", "/home/u"), "/home/u");
    EXPECT_EQ(resolveTypedName("/tmp", "~/a.zwv", nullptr), "/tmp/~/a.zwv")
        << "without a home folder '~' is a name like any other";
    EXPECT_EQ(resolveTypedName("/tmp", "~/a.zwv", ""), "/tmp/~/a.zwv");
    EXPECT_EQ(resolveTypedName("/tmp", "~user", "/home/u"), "/tmp/~user");
    EXPECT_EQ(resolveTypedName("/tmp", "with space.zwv", nullptr), "/tmp/with space.zwv");
}

TEST(FileDialogNames, DefaultExtensionOnlyWhereTheNameHasNone) {
    EXPECT_EQ(withDefaultExtension("/a/song", "zwv"), "/a/song.zwv");
    EXPECT_EQ(withDefaultExtension("/a/song.zwv", "zwv"), "/a/song.zwv");
    EXPECT_EQ(withDefaultExtension("/a/song.txt", "zwv"), "/a/song.txt");
    EXPECT_EQ(withDefaultExtension("/a.b/song", "zwv"), "/a.b/song.zwv")
        << "a dot in a folder name is no extension";
    EXPECT_EQ(withDefaultExtension("song", "wav"), "song.wav");
    EXPECT_EQ(withDefaultExtension("/a/song", ""), "/a/song");
}

TEST(FileDialogNames, FolderAbove) {
    EXPECT_EQ(parentFolder("/a/b"), "/a");
    EXPECT_EQ(parentFolder("/a/b/"), "/a");
    EXPECT_EQ(parentFolder("/a"), "/");
    EXPECT_EQ(parentFolder("/"), "/");
    EXPECT_EQ(parentFolder("//"), "/");
    EXPECT_EQ(pathInFolder("", "a"), "a");
}

TEST(FileDialogNames, AllFilesPatternMatchesNamesWithoutDot) {
    EXPECT_EQ(listPattern("*.*"), "*");
    EXPECT_EQ(listPattern("*.zwv"), "*.zwv");
    EXPECT_EQ(listPattern("*"), "*");
}

} // namespace
