// File > Open and File > Save: the title, the messages, the rebuilds after a load, the dialogs.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/resource.h>

#include "app/product_info.h"
#include "app/song_commands.h"
#include "fake_platform.h"
#include "files/song_writer.h"

namespace {

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Loads `text` into `app` and returns the warnings shown.
std::vector<std::string> load(AppState& app, const std::string& text) {
    FakePlatform platform;
    loadSongText(app, text, platform);
    return platform.warnings();
}

TEST(SongCommands, SaveAndLoadByPath) {
    ScratchFolder folder;
    auto saved = makeApp();
    saved->song.BPM = 133.33333f;
    saved->song.SoundIdx[0] = 1;
    saved->song.Sound[1][0] = 42.0f;
    saved->song.PatternIdx[2] = 4;
    FakePlatform platform;
    const std::string path = folder.file("song.zwv");
    ASSERT_TRUE(saveSongToPath(saved->song, path, platform));
    EXPECT_EQ(platform.events, std::vector<std::string>{"title|" + songWindowTitle(path)});

    platform.events.clear();
    auto loaded = makeApp();
    loaded->song.PatternIdx[2] = 9;
    ASSERT_TRUE(loadSongFromPath(*loaded, path, platform));
    EXPECT_EQ(platform.events, std::vector<std::string>{"title|" + songWindowTitle(path)});
    EXPECT_EQ(loaded->song.Sound[1][0], 42.0f);
    EXPECT_EQ(loaded->song.PatternIdx[2], 9) << "PatternIdx is written but never read";
    // Slot 1 is played by instrument 0, so its loaded drawing is what the voices read.
    EXPECT_EQ(loaded->engine.playbackWaveforms.wave[1][0], 42.0f);
    EXPECT_EQ(loaded->engine.chunkFrames, static_cast<int>(60.0 / (133.33333 * 4.0) * 22050));
}

TEST(SongCommands, LoadRebuildsWhereEntriesAreReadAndTheStreamAtTheEnd) {
    auto app = makeApp();
    // Slot 6 is played by no instrument: only the rebuild at its "Sound" entry reaches it.
    ASSERT_NE(app->song.SoundIdx[0], 6);
    std::string sound = "v3 Sound 6 350";
    for (int k = 0; k < kWaveformSamples; ++k) sound += " 12.5";
    EXPECT_TRUE(load(*app, sound).empty());
    EXPECT_EQ(app->engine.playbackWaveforms.wave[6][0], 12.5f);
    EXPECT_EQ(app->engine.playbackWaveforms.wave[6][kWaveformSamples], 12.5f);

    // Only a tempo: the stream is rebuilt for it.
    EXPECT_TRUE(load(*app, "v3\nBPM 120\n").empty());
    EXPECT_EQ(app->engine.chunkFrames, 2756);
}

TEST(SongCommands, ErrorInTheMiddleShowsItsMessageAndSkipsTheRebuild) {
    auto app = makeApp();
    const int chunkFrames = app->engine.chunkFrames;
    app->song.SoundIdx[0] = 3;
    app->engine.playbackWaveforms.wave[3][10] = 1234.0f; // marks whether the users were rebuilt
    EXPECT_EQ(load(*app, "v3 BPM 150 Volume 0 0.125 Oct 1 two Mute 1 1"),
              std::vector<std::string>{"Couldn't read inst octave "});
    EXPECT_EQ(app->song.BPM, 150.0f);
    EXPECT_EQ(app->engine.chunkFrames, chunkFrames);
    EXPECT_EQ(app->engine.playbackWaveforms.wave[3][10], 1234.0f);
}

TEST(SongCommands, OpenAndSaveCommands) {
    ScratchFolder folder;
    auto app = makeApp();
    FakePlatform platform;
    // Cancelled dialogs do nothing.
    EXPECT_FALSE(openSongFile(*app, platform));
    EXPECT_FALSE(saveSong(*app, platform));
    EXPECT_TRUE(platform.events.empty());
    ASSERT_EQ(platform.dialogs.size(), 2u);
    const FileDialogRequest& open = platform.dialogs[0];
    EXPECT_EQ(open.presetName, "def.zwv");
    EXPECT_EQ(open.defaultExtension, "zwv");
    EXPECT_EQ(open.filterIndex, 1);
    EXPECT_FALSE(open.overwritePrompt);
    ASSERT_EQ(open.filters.size(), 2u);
    EXPECT_EQ(open.filters[0].description, "Humbrook Files *.zwv");
    EXPECT_EQ(open.filters[0].pattern, "*.zwv");
    EXPECT_EQ(open.filters[1].description, "All Files");
    EXPECT_EQ(open.filters[1].pattern, "*.*");
    EXPECT_TRUE(platform.dialogs[1].overwritePrompt);
    EXPECT_EQ(platform.dialogs[1].filters[0].description, "Humbrook Files");

    // A file that cannot be opened: message, title unchanged, still "not opened".
    platform.answers.push_back(folder.file("missing.zwv"));
    EXPECT_FALSE(openSongFile(*app, platform));
    EXPECT_EQ(platform.events,
              (std::vector<std::string>{"beep", "message||Couldn't Open File|warning"}));

    // A damaged file is opened: the title changes before the message.
    platform.events.clear();
    const std::string bad = folder.file("bad.zwv");
    writeFile(bad, "v3 BPM fast");
    platform.answers.push_back(bad);
    EXPECT_TRUE(openSongFile(*app, platform));
    EXPECT_EQ(platform.events, (std::vector<std::string>{"title|" + songWindowTitle(bad), "beep",
                                                         "message||Couldn't read BPM |warning"}));

    // Save then Open through the dialogs.
    platform.events.clear();
    const std::string path = folder.file("good.zwv");
    app->song.BPM = 95.0f;
    platform.answers.push_back(path);
    EXPECT_TRUE(saveSongAs(*app, platform));
    auto other = makeApp();
    platform.answers.push_back(path);
    EXPECT_TRUE(openSongFile(*other, platform));
    EXPECT_EQ(other->song.BPM, 95.0f);
    EXPECT_TRUE(platform.warnings().empty());
}

// The file a song belongs to, where its dialogs start, and the recent songs.
TEST(SongCommands, SaveWritesTheSongsOwnFileAndSaveAsStartsThere) {
    ScratchFolder folder;
    auto app = makeApp();
    FakePlatform platform;
    platform.settings().songFolder = "/last/songs";
    EXPECT_EQ(songDisplayName(*app), "Untitled");

    // Never saved: Save asks like Save As, in the last song folder with the old preset name.
    const std::string first = folder.file("first.zwv");
    platform.answers.push_back(first);
    ASSERT_TRUE(saveSong(*app, platform));
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialogs[0].folder, "/last/songs");
    EXPECT_EQ(platform.dialogs[0].presetName, "def.zwv");
    EXPECT_EQ(app->songPath, first);
    EXPECT_EQ(songDisplayName(*app), "first.zwv");
    EXPECT_EQ(platform.settings().songFolder, folder.path);
    EXPECT_EQ(platform.settings().recentSongs, std::vector<std::string>{first});

    // Now it belongs to a file: Save writes there without a dialog.
    app->song.BPM = 101.0f;
    ASSERT_TRUE(saveSong(*app, platform));
    EXPECT_EQ(platform.dialogs.size(), 1u);
    auto reread = makeApp();
    ASSERT_TRUE(loadSongFromPath(*reread, first, platform));
    EXPECT_EQ(reread->song.BPM, 101.0f);

    // Save As starts in the song's folder with its name, even after another folder was used.
    platform.settings().songFolder = "/elsewhere";
    const std::string second = folder.file("second.zwv");
    platform.answers.push_back(second);
    ASSERT_TRUE(saveSongAs(*app, platform));
    EXPECT_EQ(platform.dialogs[1].folder, folder.path);
    EXPECT_EQ(platform.dialogs[1].presetName, "first.zwv");
    EXPECT_EQ(app->songPath, second);
    EXPECT_EQ(platform.settings().recentSongs, (std::vector<std::string>{second, first}));

    // A cancelled or failed Save As leaves the song with its file.
    EXPECT_FALSE(saveSongAs(*app, platform));
    platform.answers.push_back(folder.file("none/x.zwv"));
    EXPECT_FALSE(saveSongAs(*app, platform));
    EXPECT_EQ(app->songPath, second);
    EXPECT_EQ(platform.settings().recentSongs.size(), 2u);
}

TEST(SongCommands, OpenStartsInTheLastSongFolderAndRemembersTheSong) {
    ScratchFolder folder;
    FakePlatform platform;
    auto app = makeApp();
    const std::string path = folder.file("song.zwv");
    ASSERT_TRUE(saveSongToPath(app->song, path, platform));
    platform.settings().songFolder = "/start/here";
    platform.answers.push_back(path);
    ASSERT_TRUE(openSongFile(*app, platform));
    EXPECT_EQ(platform.dialogs[0].folder, "/start/here");
    EXPECT_EQ(app->songPath, path);
    EXPECT_EQ(platform.settings().songFolder, folder.path);
    EXPECT_EQ(platform.settings().recentSongs, std::vector<std::string>{path});

    // A file that is no song keeps the song's own file and the recent songs as they were, but
    // the next dialog starts where this one ended.
    auto other = makeApp();
    platform.answers.push_back("/nowhere/gone.zwv");
    EXPECT_FALSE(openSongFile(*other, platform));
    EXPECT_TRUE(other->songPath.empty());
    EXPECT_EQ(platform.settings().songFolder, "/nowhere");
    EXPECT_EQ(platform.settings().recentSongs, std::vector<std::string>{path});
}

TEST(SongCommands, FailedSavesTellTheUser) {
    ScratchFolder folder;
    auto app = makeApp();
    FakePlatform platform;
    // A write that fails part way: the file was created, so the title names it, then the message.
    const std::string path = folder.file("cut.zwv");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit saved;
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const bool written = saveSongToPath(app->song, path, platform);
    setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_FALSE(written);
    EXPECT_EQ(platform.events, (std::vector<std::string>{"title|" + songWindowTitle(path), "beep",
                                                         "message||Couldn't Write File |warning"}));

    // A folder that does not exist, or a folder in the file's place: message, title unchanged.
    platform.events.clear();
    EXPECT_FALSE(saveSongToPath(app->song, folder.file("none/x.zwv"), platform));
    EXPECT_FALSE(saveSongToPath(app->song, folder.path, platform));
    EXPECT_EQ(platform.events,
              (std::vector<std::string>{"beep", "message||Couldn't Write File |warning", "beep",
                                        "message||Couldn't Write File |warning"}));
}

TEST(SongCommands, AFileWithoutASongKeywordIsRefusedAndChangesNothing) {
    ScratchFolder folder;
    auto app = makeApp();
    app->song.BPM = 97.0f;
    std::string before;
    appendSongText(app->song, before);
    const float* ring = app->stream.mixRing.get();
    FakePlatform platform;

    // A WAV file: its header words are no keywords, whatever bytes follow.
    const std::string wave = folder.file("beat.wav");
    std::string bytes("RIFF\x24\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x02\x00", 24);
    bytes += std::string("\x44\xac\x00\x00\x10\xb1\x02\x00\x04\x00\x10\x00"
                         "data",
                         16);
    bytes += std::string(4, '\0') + "v3 12 BPMx Vol 0.5";
    writeFile(wave, bytes);
    for (const std::string& path : {wave, folder.file("empty.zwv")}) {
        if (path != wave) writeFile(path, "v3\n");
        platform.events.clear();
        platform.answers.push_back(path);
        EXPECT_FALSE(openSongFile(*app, platform)) << path;
        EXPECT_EQ(platform.events,
                  (std::vector<std::string>{"beep", "message||Not a Humbrook song file|warning"}))
            << "no title change for " << path;
    }
    EXPECT_EQ(load(*app, "just some words"), std::vector<std::string>{"Not a Humbrook song file"});
    std::string after;
    appendSongText(app->song, after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(app->stream.mixRing.get(), ring) << "the stream was not rebuilt";

    // One keyword makes it a song file, damaged after it: loaded up to there, as before.
    platform.events.clear();
    EXPECT_EQ(load(*app, "words BPM 80 Volume x"),
              std::vector<std::string>{"Couldn't read inst volume "});
    EXPECT_EQ(app->song.BPM, 80.0f);
}

} // namespace
