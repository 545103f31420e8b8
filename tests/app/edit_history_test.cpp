// The modified mark: set by edits, cleared by Open and Save, never by playing.
#include <gtest/gtest.h>

#include "shell_session.h"

namespace {

std::string tempSong(const std::string& name) {
    return ::testing::TempDir() + "humbrook_history_" + name;
}

TEST(ModifiedMark, EditsSetItAndOpenOrSaveClearIt) {
    ShellSession s;
    EXPECT_FALSE(s.app().history.modified());
    s.run("key Enter\nkey Space\nkey Right\nkey Enter\n");
    EXPECT_FALSE(s.app().history.modified()) << "playing and choosing an instrument edit nothing";
    s.run("down 35 226\nup 35 226\n");
    EXPECT_TRUE(s.app().history.modified());
    const std::string path = tempSong("a.zwv");
    s.run("save " + path + "\n");
    EXPECT_FALSE(s.app().history.modified());
    s.run("key G\n");
    EXPECT_TRUE(s.app().history.modified());
    s.run("answer dont-save\nopen " + path + "\n");
    EXPECT_FALSE(s.app().history.modified());
    std::remove(path.c_str());
}

} // namespace
