// "Save changes to NAME?": what each answer does before a modified song is left.
#include <gtest/gtest.h>

#include "app/song_commands.h"
#include "app/unsaved_changes.h"
#include "fake_platform.h"
#include "shell_session.h"

namespace {

TEST(UnsavedChanges, AnUnmodifiedSongIsLeftWithoutAQuestion) {
    auto app = makeApp();
    FakePlatform platform;
    EXPECT_TRUE(songMayBeLeft(*app, platform));
    EXPECT_TRUE(platform.events.empty());
}

TEST(UnsavedChanges, EachAnswerDecidesWhetherTheActionGoesOn) {
    ScratchFolder folder;
    auto app = makeApp();
    app->history.markModified();
    FakePlatform platform;

    platform.saveChangesAnswers = {SaveChangesAnswer::Cancel, SaveChangesAnswer::DontSave};
    EXPECT_FALSE(songMayBeLeft(*app, platform));
    EXPECT_TRUE(app->history.modified());
    EXPECT_TRUE(songMayBeLeft(*app, platform));
    EXPECT_TRUE(app->history.modified()) << "Don't Save lets the changes go, it saves nothing";
    EXPECT_EQ(platform.events, (std::vector<std::string>{"question|Save changes to Untitled?",
                                                         "question|Save changes to Untitled?"}));
    EXPECT_TRUE(platform.dialogs.empty());

    // Save of a song without a file asks like Save As; cancelled there, the action is too.
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    EXPECT_FALSE(songMayBeLeft(*app, platform));
    EXPECT_EQ(platform.dialogs.size(), 1u);
    EXPECT_TRUE(app->history.modified());

    // A Save that fails cancels the action as well.
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    platform.answers = {folder.file("missing/song.zwv")};
    EXPECT_FALSE(songMayBeLeft(*app, platform));
    EXPECT_TRUE(app->history.modified());

    // A Save that writes the file lets the action go on, the song saved.
    const std::string path = folder.file("kept.zwv");
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    platform.answers = {path};
    EXPECT_TRUE(songMayBeLeft(*app, platform));
    EXPECT_FALSE(app->history.modified());
    EXPECT_EQ(app->songPath, path);

    // Now the question names the file, and Save writes it without a dialog.
    app->history.markModified();
    app->song.BPM = 88.0f;
    platform.events.clear();
    platform.saveChangesAnswers = {SaveChangesAnswer::Save};
    const size_t dialogs = platform.dialogs.size();
    EXPECT_TRUE(songMayBeLeft(*app, platform));
    EXPECT_EQ(platform.events.front(), "question|Save changes to kept.zwv?");
    EXPECT_EQ(platform.dialogs.size(), dialogs);
    auto reread = makeApp();
    ASSERT_TRUE(loadSongFromPath(*reread, path, platform));
    EXPECT_EQ(reread->song.BPM, 88.0f);
}

TEST(UnsavedChanges, NewOpenAndExitAskAndCancelLeavesTheSongAsItWas) {
    ShellSession s;
    ASSERT_EQ(s.run("key G\nmenu 40058\nmenu 40038\nmenu 10001\n"), 0);
    const std::string question = "question\tSave changes to Untitled?\tcancel\n";
    EXPECT_EQ(s.protocol.str(), question + question + question);
    EXPECT_FALSE(s.session->exited);
    EXPECT_TRUE(s.app().history.modified());
    // Don't Save before New: the fresh song is unmodified.
    s.song().BPM = 123.0f;
    ASSERT_EQ(s.run("answer dont-save\nmenu 40058\n"), 0);
    EXPECT_FLOAT_EQ(s.song().BPM, 70.0f);
    EXPECT_FALSE(s.app().history.modified());
}

} // namespace
