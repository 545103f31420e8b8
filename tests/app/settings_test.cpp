// The settings file: round trip, damaged and hostile lines, unknown keys, the path, atomic saves.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "app/settings.h"

namespace {

Settings everythingSet() {
    Settings settings;
    settings.zoom = 3;
    settings.soundDevice = "USB Audio  Analog Stereo";
    settings.bufferFrames = 2048;
    settings.autosaveSeconds = 90;
    settings.recentSongs = {"/home/u/a song.zwv", "/tmp/b.zwv"};
    settings.songFolder = "/home/u/songs";
    settings.waveFolder = "/home/u/waves";
    settings.recordingFolder = "/home/u/takes";
    settings.otherLines = {"theme dark", "future-key 1 2 3"};
    return settings;
}

Settings parsed(std::string_view text, std::vector<std::string>& problems) {
    return parseSettings(text, problems);
}

// A folder of its own under the build's temporary folder, removed afterwards.
class SettingsFolder : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("humbrook-settings-test-" + std::to_string(getpid()));
        std::filesystem::remove_all(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        std::filesystem::permissions(folder_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(folder_, ignored);
    }
    std::string path() const { return (folder_ / "humbrook" / "settings").string(); }
    std::filesystem::path folder_;
};

TEST(Settings, EverySettingSurvivesARoundTrip) {
    std::vector<std::string> problems;
    const Settings settings = everythingSet();
    EXPECT_EQ(parsed(formatSettings(settings), problems), settings);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(parsed(formatSettings(Settings{}), problems), Settings{});
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(formatSettings(Settings{}).find("zoom"), std::string::npos)
        << "a zoom never chosen is not written, so the first start still picks one";
}

TEST(Settings, DamagedLinesAreSkippedAndTheRestIsRead) {
    std::vector<std::string> problems;
    const Settings settings = parsed("zoom 9\n"
                                     "zoom 2\n"
                                     "buffer-frames 300\n"
                                     "buffer-frames 1024x\n"
                                     "autosave-seconds -5\n"
                                     "sound-device\n"
                                     "Zoom 3\n"
                                     "recent-song /a.zwv\r\n"
                                     "\n"
                                     "# a comment\n"
                                     "zoom  4\n",
                                     problems);
    EXPECT_EQ(settings.zoom, 2);
    EXPECT_EQ(settings.bufferFrames, kDefaultBufferFrames);
    EXPECT_EQ(settings.autosaveSeconds, kDefaultAutosaveSeconds);
    EXPECT_EQ(settings.recentSongs, std::vector<std::string>{"/a.zwv"});
    EXPECT_TRUE(settings.otherLines.empty());
    ASSERT_EQ(problems.size(), 7u);
    EXPECT_EQ(problems[0], "line 1: zoom must be 1 to 4");
    EXPECT_EQ(problems[6].rfind("line 11:", 0), 0u);
}

TEST(Settings, UnknownKeysAreKeptInOrder) {
    std::vector<std::string> problems;
    Settings settings = parsed("colour-scheme night\nzoom 1\nplugin-path /x y\nflag\n", problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(settings.otherLines,
              (std::vector<std::string>{"colour-scheme night", "plugin-path /x y", "flag"}));
    settings.zoom = 4;
    const std::string text = formatSettings(settings);
    EXPECT_NE(text.find("zoom 4\n"), std::string::npos);
    EXPECT_NE(text.find("colour-scheme night\nplugin-path /x y\nflag\n"), std::string::npos);
}

TEST(Settings, HostileInputNeverBreaksTheReader) {
    std::vector<std::string> problems;
    std::string binary;
    for (int i = 0; i < 4096; ++i) binary.push_back(static_cast<char>(i * 37 % 256));
    const std::string huge = "sound-device " + std::string(100000, 'x');
    const std::string text = binary + "\nzoom 3\n" + huge + "\n" + std::string("zoom\0 2\n", 8) +
                             "recent-song \xff\xfe.zwv\n";
    const Settings settings = parsed(text, problems);
    EXPECT_EQ(settings.zoom, 3);
    EXPECT_TRUE(settings.soundDevice.empty());
    EXPECT_EQ(settings.recentSongs, std::vector<std::string>{"\xff\xfe.zwv"})
        << "bytes that are not text are a name like any other";
    EXPECT_FALSE(problems.empty());
    for (const std::string& line : settings.otherLines)
        EXPECT_LE(line.size(), 4096u) << "nothing damaged is kept";

    std::string many;
    for (int i = 0; i < 20; ++i) many += "recent-song /s" + std::to_string(i) + ".zwv\n";
    EXPECT_EQ(parsed(many, problems).recentSongs.size(), static_cast<size_t>(kMaxRecentSongs));
}

TEST(Settings, RecentSongsNewestFirstWithoutRepeats) {
    Settings settings;
    for (int i = 0; i < 10; ++i) addRecentSong(settings, "/s" + std::to_string(i) + ".zwv");
    addRecentSong(settings, "/s5.zwv");
    ASSERT_EQ(settings.recentSongs.size(), static_cast<size_t>(kMaxRecentSongs));
    EXPECT_EQ(settings.recentSongs[0], "/s5.zwv");
    EXPECT_EQ(settings.recentSongs[1], "/s9.zwv");
    EXPECT_EQ(std::count(settings.recentSongs.begin(), settings.recentSongs.end(), "/s5.zwv"), 1);
    settings.recentSongs.push_back("/bad\nname.zwv");
    std::vector<std::string> problems;
    EXPECT_EQ(parsed(formatSettings(settings), problems).recentSongs.size(),
              static_cast<size_t>(kMaxRecentSongs))
        << "a name with a line break is not written";
    EXPECT_TRUE(problems.empty());
}

TEST(Settings, PathFollowsTheConfigFolderConvention) {
    EXPECT_EQ(settingsPath("/xdg", "/home/u"), "/xdg/humbrook/settings");
    EXPECT_EQ(settingsPath(nullptr, "/home/u"), "/home/u/.config/humbrook/settings");
    EXPECT_EQ(settingsPath("", "/home/u"), "/home/u/.config/humbrook/settings");
    EXPECT_EQ(settingsPath("relative", "/home/u"), "/home/u/.config/humbrook/settings");
    EXPECT_EQ(settingsPath(nullptr, nullptr), "");
}

TEST_F(SettingsFolder, SavedFileIsReadBackAndReplacedWhole) {
    std::ostringstream errors;
    EXPECT_EQ(loadSettings(path(), errors), Settings{}) << "a missing file gives the defaults";
    EXPECT_TRUE(errors.str().empty()) << "quietly";
    ASSERT_TRUE(saveSettings(path(), everythingSet())) << "the folder is created";
    EXPECT_EQ(loadSettings(path(), errors), everythingSet());
    Settings changed = everythingSet();
    changed.zoom = 1;
    ASSERT_TRUE(saveSettings(path(), changed));
    EXPECT_EQ(loadSettings(path(), errors), changed);
    EXPECT_TRUE(errors.str().empty());
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(folder_ / "humbrook")) {
        (void)entry;
        ++files;
    }
    EXPECT_EQ(files, 1) << "no temporary file is left beside it";
}

TEST_F(SettingsFolder, DamagedOrUnreadableFileGivesDefaultsWithOneReport) {
    std::filesystem::create_directories(folder_ / "humbrook");
    {
        std::ofstream file(path(), std::ios::binary);
        file << "zoom 2\nzoom nine\n";
        for (int i = 0; i < 30; ++i) file << "\x01\x02 garbage\n";
    }
    std::ostringstream errors;
    EXPECT_EQ(loadSettings(path(), errors).zoom, 2);
    const std::string report = errors.str();
    EXPECT_NE(report.find("line 2: zoom must be 1 to 4; skipped"), std::string::npos);
    EXPECT_NE(report.find("21 more damaged lines skipped"), std::string::npos);
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 11) << "at most ten lines and a sum";

    std::filesystem::remove(path());
    std::filesystem::create_directories(path()); // a folder where the file should be
    std::ostringstream folderErrors;
    EXPECT_EQ(loadSettings(path(), folderErrors), Settings{});
    EXPECT_FALSE(folderErrors.str().empty());
    EXPECT_FALSE(saveSettings(path(), everythingSet())) << "and it cannot be replaced";
}

TEST_F(SettingsFolder, UnwritableFolderLeavesTheOldFile) {
    ASSERT_TRUE(saveSettings(path(), everythingSet()));
    if (geteuid() == 0) GTEST_SKIP() << "root writes into any folder";
    std::filesystem::permissions(folder_ / "humbrook", std::filesystem::perms::owner_read |
                                                           std::filesystem::perms::owner_exec);
    EXPECT_FALSE(saveSettings(path(), Settings{}));
    std::ostringstream errors;
    EXPECT_EQ(loadSettings(path(), errors), everythingSet());
    std::filesystem::permissions(folder_ / "humbrook", std::filesystem::perms::owner_all);
}

} // namespace
