// Autosave: when copies are due, that the worker writes the song as it was when the copy was
// taken, that saving removes it, and recovery of what a program that ended left.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <sys/stat.h>

#include "app/autosave.h"
#include "app/product_info.h"
#include "app/recovery.h"
#include "fake_platform.h"
#include "shell_session.h"
#include "song_text.h"
#include "tests/files/file_reading.h"

namespace {

// Points XDG_STATE_HOME at a scratch folder while the record lives.
struct StateHomeOverride {
    ScratchFolder folder;
    StateHomeOverride() { setenv("XDG_STATE_HOME", folder.path.c_str(), 1); }
    ~StateHomeOverride() { unsetenv("XDG_STATE_HOME"); }
    std::string root() const { return folder.path + "/humbrook/autosave"; }
};

TEST(AutosaveSchedule, ACopyIsDueEveryIntervalWhileTheSongStaysModified) {
    AutosaveSchedule schedule;
    EXPECT_FALSE(autosaveDue(schedule, false, 0, 30));
    EXPECT_FALSE(autosaveDue(schedule, true, 10, 30)) << "first seen modified: planned, not due";
    EXPECT_FALSE(autosaveDue(schedule, true, 39, 30));
    EXPECT_TRUE(autosaveDue(schedule, true, 40, 30));
    EXPECT_FALSE(autosaveDue(schedule, true, 69, 30));
    EXPECT_TRUE(autosaveDue(schedule, true, 70.5, 30));
    // Saved: nothing is due, and the next change waits a whole interval again.
    EXPECT_FALSE(autosaveDue(schedule, false, 71, 30));
    EXPECT_FALSE(autosaveDue(schedule, true, 100, 30));
    EXPECT_FALSE(autosaveDue(schedule, true, 129, 30));
    EXPECT_TRUE(autosaveDue(schedule, true, 130, 30));
}

TEST(Autosaver, WritesTheCopyTakenAtTheTickAndRemovesItOnceSaved) {
    ScratchFolder scratch;
    auto app = makeApp();
    Autosaver saver(scratch.file("autosave"));
    saver.tick(app->song, "/songs/a.zwv", true, 0, 5);
    saver.tick(app->song, "/songs/a.zwv", true, 4, 5);
    saver.waitIdle();
    EXPECT_EQ(saver.folder(), "") << "nothing is written before the interval has passed";

    app->song.BPM = 120.0f;
    const std::string expected = songText(app->song);
    saver.tick(app->song, "/songs/a.zwv", true, 5, 5);
    app->song.BPM = 60.0f; // an edit right after the tick does not reach the copy
    const std::string folder = saver.folder();
    ASSERT_NE(folder, "");
    EXPECT_EQ(readFile(folder + "/song.zwv"), expected);
    EXPECT_EQ(readFile(folder + "/original"), "/songs/a.zwv\n");
    EXPECT_EQ(saver.writesDone(), 1);

    // Modified all along, never cleared by the autosave: the next copy comes an interval later.
    saver.tick(app->song, "/songs/a.zwv", true, 9, 5);
    saver.waitIdle();
    EXPECT_EQ(saver.writesDone(), 1);
    saver.tick(app->song, "/songs/a.zwv", true, 10, 5);
    saver.waitIdle();
    EXPECT_EQ(saver.writesDone(), 2);
    EXPECT_NE(readFile(folder + "/song.zwv").find("BPM 60"), std::string::npos);

    // Saved: the autosave goes at the next tick.
    saver.tick(app->song, "/songs/a.zwv", false, 11, 5);
    saver.waitIdle();
    EXPECT_FALSE(pathExists(folder));
}

TEST(Autosaver, WithoutARootNothingIsWritten) {
    auto app = makeApp();
    Autosaver saver("");
    saver.tick(app->song, "", true, 0, 5);
    saver.tick(app->song, "", true, 10, 5);
    EXPECT_FALSE(saver.writeNow(app->song, ""));
    EXPECT_EQ(saver.writesDone(), 0);
}

// The offer at start, with the answers of a platform.
struct LeftSong {
    StateHomeOverride state;
    ScratchFolder songs;
    std::string original = songs.file("tune.zwv");

    // A session edits a song saved to `original`, the clock passes the interval, and the session
    // ends without File > Exit, as a killed program would.
    std::string leaveAutosave(float bpm) {
        ShellSession s;
        EXPECT_EQ(s.run("save " + original + "\nkey Up\n"), 0);
        s.song().BPM = bpm;
        EXPECT_EQ(s.run("clock 29\n"), 0);
        EXPECT_EQ(s.session->autosaver->writesDone(), 0);
        EXPECT_EQ(s.run("clock 2\n"), 0);
        EXPECT_EQ(s.session->autosaver->writesDone(), 1);
        return songText(s.song());
    }
};

TEST(Recovery, RecoverOpensTheKeptSongModifiedWithItsOwnFile) {
    LeftSong left;
    const std::string kept = left.leaveAutosave(99.0f);
    ShellSession s;
    ASSERT_EQ(s.run("answer recover\nrecovery\n"), 0);
    EXPECT_EQ(songText(s.song()), kept);
    EXPECT_TRUE(s.modified());
    EXPECT_EQ(s.app().songPath, left.original);
    const std::string protocol = s.protocol.str();
    EXPECT_NE(protocol.find("question\tHumbrook ended without saving the changes to tune.zwv."),
              std::string::npos)
        << protocol;
    EXPECT_EQ(protocol.substr(protocol.rfind("title\t")),
              "title\t*" + songWindowTitle(left.original) + "\n")
        << "the recovered song is marked modified";

    // The kept song is this session's autosave now, never offered elsewhere; Save writes the
    // song's own file without a dialog, and the autosave goes.
    EXPECT_TRUE(findLeftAutosaves(left.state.root()).empty());
    const std::string folder = s.session->autosaver->folder();
    ASSERT_TRUE(pathExists(folder + "/song.zwv"));
    ASSERT_EQ(s.run("menu 40039\nclock 1\n"), 0);
    EXPECT_EQ(readFile(left.original), kept);
    EXPECT_FALSE(pathExists(folder));
}

TEST(Recovery, LaterKeepsTheAutosaveAndDiscardRemovesIt) {
    LeftSong left;
    left.leaveAutosave(98.0f);
    {
        ShellSession s;
        ASSERT_EQ(s.run("recovery\nanswer later\nrecovery\n"), 0);
        EXPECT_FLOAT_EQ(s.song().BPM, 70.0f);
        EXPECT_FALSE(s.modified());
    }
    ASSERT_EQ(findLeftAutosaves(left.state.root()).size(), 1u);
    ShellSession s;
    ASSERT_EQ(s.run("answer discard\nrecovery\n"), 0);
    EXPECT_NE(s.protocol.str().find("\tdiscard\n"), std::string::npos);
    EXPECT_TRUE(findLeftAutosaves(left.state.root()).empty());
    EXPECT_FLOAT_EQ(s.song().BPM, 70.0f);
}

TEST(Recovery, ExitAfterDontSaveRemovesTheSessionsAutosave) {
    StateHomeOverride state;
    std::string folder;
    {
        ShellSession s;
        ASSERT_EQ(s.run("key Up\nclock 31\n"), 0);
        folder = s.session->autosaver->folder();
        ASSERT_TRUE(pathExists(folder + "/song.zwv"));
        ASSERT_EQ(s.run("menu 10001\n"), 0);
        EXPECT_FALSE(s.session->exited) << "no answer queued: the question is cancelled";
        ASSERT_EQ(s.run("answer dont-save\nmenu 10001\n"), 0);
        EXPECT_TRUE(s.session->exited);
    }
    EXPECT_FALSE(pathExists(folder));
}

// The mark follows the edit history: undo back to the saved song lets the autosave go, redo
// brings the changes back and a copy is due again; digits still being typed into the tempo count.
TEST(Autosave, FollowsUndoBackToTheSavedSongAndATempoBeingTyped) {
    StateHomeOverride state;
    ShellSession s;
    ASSERT_EQ(s.run("key Up\nclock 31\n"), 0);
    const std::string folder = s.session->autosaver->folder();
    ASSERT_TRUE(pathExists(folder + "/song.zwv"));
    ASSERT_EQ(s.run("undo\nclock 1\n"), 0);
    EXPECT_FALSE(s.modified());
    EXPECT_FALSE(pathExists(folder)) << "the song is the one opened again";
    ASSERT_EQ(s.run("redo\nclock 31\n"), 0);
    EXPECT_TRUE(pathExists(s.session->autosaver->folder() + "/song.zwv"));
    ASSERT_EQ(s.run("undo\nclock 1\n"), 0);

    // A tempo digit typed and its gesture still open: not yet a step, yet the song has changed.
    const PanelRect& bpm = panelRect(s.session->screen.layout, PanelId::BpmDisplay);
    const std::string digit =
        std::to_string(bpm.left + 12) + " " + std::to_string(bpm.top + rectHeight(bpm) / 2);
    ASSERT_EQ(s.run("down " + digit + "\nup " + digit + "\nkey 9\nclock 31\n"), 0);
    EXPECT_TRUE(s.session->edits.gestureOpen);
    EXPECT_TRUE(pathExists(s.session->autosaver->folder() + "/song.zwv"));
    const std::string copy = readFile(s.session->autosaver->folder() + "/song.zwv");
    EXPECT_EQ(copy, songText(s.song()));
}

} // namespace
