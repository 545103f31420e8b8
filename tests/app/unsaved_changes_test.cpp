// "Save changes to NAME?": what each answer does before a modified song is left.
#include <gtest/gtest.h>

#include "app/product_info.h"
#include "app/song_commands.h"
#include "app/unsaved_changes.h"
#include "fake_platform.h"
#include "shell_session.h"
#include "song_text.h"

namespace {

TEST(UnsavedChanges, AnUnmodifiedSongIsLeftWithoutAQuestion) {
    auto app = makeApp();
    FakePlatform platform;
    EXPECT_EQ(askToLeaveSong(*app, platform, false), SongLeaving::Leave);
    EXPECT_TRUE(platform.events.empty());
}

TEST(UnsavedChanges, EachAnswerDecidesWhetherTheActionGoesOn) {
    ScratchFolder folder;
    auto app = makeApp();
    FakePlatform platform;

    platform.saveChangesAnswers = {SaveChangesAnswer::Cancel, SaveChangesAnswer::DontSave};
    EXPECT_EQ(askToLeaveSong(*app, platform, true), SongLeaving::Stay);
    EXPECT_EQ(askToLeaveSong(*app, platform, true), SongLeaving::Leave)
        << "Don't Save lets the changes go, it saves nothing";
    EXPECT_EQ(platform.events, (std::vector<std::string>{"question|Save changes to Untitled?",
                                                         "question|Save changes to Untitled?"}));
    EXPECT_TRUE(platform.dialogs.empty());

    // Save of a song without a file asks like Save As; cancelled there, the action is too.
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    EXPECT_EQ(askToLeaveSong(*app, platform, true), SongLeaving::Stay);
    EXPECT_EQ(platform.dialogs.size(), 1u);

    // A Save that fails cancels the action as well.
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    platform.answers = {folder.file("missing/song.zwv")};
    EXPECT_EQ(askToLeaveSong(*app, platform, true), SongLeaving::Stay);
    EXPECT_TRUE(app->songPath.empty());

    // A Save that writes the file lets the action go on, the song saved.
    const std::string path = folder.file("kept.zwv");
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    platform.answers = {path};
    EXPECT_EQ(askToLeaveSong(*app, platform, true), SongLeaving::SavedFirst);
    EXPECT_EQ(app->songPath, path);

    // Now the question names the file, and Save writes it without a dialog.
    app->song.BPM = 88.0f;
    platform.events.clear();
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    const size_t dialogs = platform.dialogs.size();
    EXPECT_EQ(askToLeaveSong(*app, platform, true), SongLeaving::SavedFirst);
    EXPECT_EQ(platform.events.front(), "question|Save changes to kept.zwv?");
    EXPECT_EQ(platform.dialogs.size(), dialogs);
    auto reread = makeApp();
    ASSERT_TRUE(loadSongFromPath(*reread, path, platform));
    EXPECT_EQ(reread->song.BPM, 88.0f);
}

TEST(UnsavedChanges, NewOpenAndExitAskAndCancelLeavesTheSongAsItWas) {
    ShellSession s;
    ASSERT_EQ(s.run("key Up\nmenu 40058\nmenu 40038\nmenu 10001\n"), 0);
    const std::string question = "question\tSave changes to Untitled?\tcancel\n";
    EXPECT_EQ(s.protocol.str(),
              "title\t*" + startupWindowTitle() + "\n" + question + question + question);
    EXPECT_FALSE(s.session->exited);
    EXPECT_TRUE(s.modified());
    // Don't Save before New: the fresh song is unmodified.
    s.song().BPM = 123.0f;
    ASSERT_EQ(s.run("answer dont-save\nmenu 40058\n"), 0);
    EXPECT_FLOAT_EQ(s.song().BPM, 70.0f);
    EXPECT_FALSE(s.modified());
}

// Undoing an Open gives the song back its own file, so that Save writes where it came from; a
// Save chosen before an Open that is then cancelled still counts: the song matches its file.
TEST(UnsavedChanges, UndoOfOpenBringsBackTheFileSaveWrites) {
    ScratchFolder folder;
    const std::string a = folder.file("a.zwv");
    const std::string b = folder.file("b.zwv");
    ShellSession s;
    ASSERT_EQ(s.run("save " + b + "\nkey Up\nsave " + a + "\nkey Up\n"), 0);
    EXPECT_TRUE(s.modified());
    ASSERT_EQ(s.run("answer save\nopen " + b + "\n"), 0);
    EXPECT_EQ(s.app().songPath, b);
    EXPECT_FALSE(s.modified());
    ASSERT_EQ(s.run("undo\n"), 0);
    EXPECT_EQ(s.app().songPath, a);
    EXPECT_TRUE(s.modified()) << "it differs from b.zwv, the song last opened";
    const std::string aText = songText(s.song());
    ASSERT_EQ(s.run("key Up\nmenu 40039\n"), 0);
    EXPECT_FALSE(s.modified());
    auto reread = makeApp();
    FakePlatform platform;
    ASSERT_TRUE(loadSongFromPath(*reread, a, platform));
    EXPECT_EQ(songText(reread->song), songText(s.song()));
    EXPECT_NE(songText(s.song()), aText);

    // Save, then the Open dialog cancelled: nothing opened, but the song was saved.
    ASSERT_EQ(s.run("key Up\nanswer save\ndialog cancel\nmenu 40038\n"), 0);
    EXPECT_EQ(s.app().songPath, a);
    EXPECT_FALSE(s.modified());
}

} // namespace
