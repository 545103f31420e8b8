// Gestures through scripted sessions: names, the title's mark, typed tempo as one step, New
// and Open undone, and undo while playing sounding as the reverse edit made by hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "app/menu_bar.h"
#include "app/product_info.h"
#include "shell_session.h"
#include "song_text.h"
#include "tests/files/file_reading.h"

namespace {

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("humbrook_edits_" + name)).string();
}

std::string menu(int id) {
    return "menu " + std::to_string(id) + "\n";
}

// A four-step note at the start of bank 1 and a knob of instrument 1 turned up.
constexpr const char* kDrawNote = "down 35 130\nmove 110 130\nup 110 130\n";
constexpr const char* kTurnKnob = "down 760 60\nmove 760 95\nup 760 95\n";
constexpr const char* kDrawSecondNote = "down 135 162\nmove 185 162\nup 185 162\n";
constexpr const char* kDrawWave = "down 500 470\nmove 560 540\nmove 620 460\nup 620 460\n";
constexpr const char* kFirstBpmDigit = "down 380 392\nup 380 392\n";

TEST(EditSession, StepsAreNamedAndTheTitleMarksUnsavedChanges) {
    ShellSession s;
    const std::string saved = tempPath("title.zwv");
    ASSERT_EQ(s.run(kDrawNote), 0);
    EXPECT_EQ(s.session->menu.undoAction, "Draw Notes");
    EXPECT_TRUE(menuItemGrayed(s.session->menu, kMenuRedo));
    EXPECT_NE(s.protocol.str().find("title\t*" + startupWindowTitle() + "\n"), std::string::npos);
    ASSERT_EQ(s.run("save " + saved + "\n"), 0);
    EXPECT_EQ(s.session->edits.shownTitle, songWindowTitle(saved));
    ASSERT_EQ(s.run("key Up\n"), 0);
    EXPECT_EQ(s.session->edits.shownTitle, "*" + songWindowTitle(saved));
    ASSERT_EQ(s.run("undo\n"), 0);
    EXPECT_EQ(s.session->edits.shownTitle, songWindowTitle(saved)) << "back at the saved song";
    EXPECT_EQ(s.session->menu.redoAction, "Amplify Waveform");
    EXPECT_EQ(s.session->menu.undoAction, "Draw Notes");
    std::filesystem::remove(saved);
}

TEST(EditSession, TypedTempoDigitsAreOneStepAndUndoRebuildsTheStream) {
    ShellSession s;
    const float bpm = s.song().BPM;
    const int chunkFrames = s.app().engine.chunkFrames;
    ASSERT_EQ(s.run(std::string(kFirstBpmDigit) + "key 1\nkey 2\nkey 3\n"), 0);
    EXPECT_NE(s.song().BPM, bpm);
    EXPECT_NE(s.app().engine.chunkFrames, chunkFrames);
    ASSERT_EQ(s.run("undo\n"), 0);
    EXPECT_EQ(s.song().BPM, bpm);
    EXPECT_EQ(s.app().engine.chunkFrames, chunkFrames) << "the stream follows the tempo";
    EXPECT_FALSE(s.session->edits.history.canUndo()) << "one step for the typed value";
}

TEST(EditSession, NewAndOpenAreUndoneWithTheirTitles) {
    ShellSession s;
    const std::string song = (kSourceDir / "examples/slow_tide.zwv").string();
    const std::string start = songText(s.song());
    ASSERT_EQ(s.run("open " + song + "\n"), 0);
    const std::string opened = songText(s.song());
    EXPECT_EQ(s.session->edits.shownTitle, songWindowTitle(song));
    ASSERT_EQ(s.run(menu(kMenuNew)), 0);
    EXPECT_EQ(s.session->menu.undoAction, "New");
    EXPECT_EQ(s.session->edits.shownTitle, startupWindowTitle()) << "a new song is unmodified";
    ASSERT_EQ(s.run("undo\n"), 0);
    EXPECT_TRUE(songText(s.song()) == opened);
    EXPECT_EQ(s.session->edits.shownTitle, "*" + songWindowTitle(song))
        << "the opened song is back, unsaved against the new one";
    ASSERT_EQ(s.run("undo\n"), 0);
    EXPECT_TRUE(songText(s.song()) == start);
    EXPECT_EQ(s.session->edits.shownTitle, "*" + startupWindowTitle());
    ASSERT_EQ(s.run("redo\nredo\n"), 0);
    EXPECT_EQ(s.session->edits.shownTitle, startupWindowTitle());
}

TEST(EditSession, AKeyDuringADragIsAStepOfItsOwn) {
    ShellSession s;
    ASSERT_EQ(s.run("down 90 450\nmove 120 470\nkey Up\nmove 160 420\nup 160 420\n"), 0);
    EditHistory& history = s.session->edits.history;
    ASSERT_EQ(history.stepCount(), 3u);
    EXPECT_EQ(history.undoName(), "Draw Envelope");
    ASSERT_EQ(s.run("undo\n"), 0);
    EXPECT_EQ(history.undoName(), "Amplify Waveform");
}

// Plays the script `edit` on the start song with a note, then `revert`, and captures what
// follows. (A typed tempo stops playback, as its undo does: no case here.)
std::string playedAfter(const std::string& edit, const std::string& revert,
                        const std::string& name) {
    ShellSession s;
    const std::string wav = tempPath(name + ".wav");
    const std::string script = std::string(kDrawNote) + "key Enter\nsteps 3\n" + edit +
                               "steps 3\n" + revert + "capture " + wav +
                               "\nsteps 24\ncapture end\n";
    EXPECT_EQ(s.run(script), 0) << s.errors.str();
    std::string bytes = readFile(wav);
    std::filesystem::remove(wav);
    return bytes;
}

TEST(EditSession, UndoWhilePlayingSoundsAsTheReverseEditByHand) {
    struct Case {
        std::string name;
        std::string edit;
        std::string byHand; // puts the song back as it was before the edit
    };
    const Case cases[] = {
        {"knob", menu(kMenuCopyEffects) + kTurnKnob, menu(kMenuPasteEffects)},
        {"wave", menu(kMenuCopyWaveform) + kDrawWave, menu(kMenuPasteWaveform)},
        {"notes", menu(kMenuCopyPattern) + kDrawSecondNote, menu(kMenuPastePattern)},
    };
    for (const Case& c : cases) {
        const std::string undone = playedAfter(c.edit, "undo\n", c.name + "_undone");
        const std::string reverted = playedAfter(c.edit, c.byHand, c.name + "_by_hand");
        const std::string kept = playedAfter(c.edit, "", c.name + "_kept");
        ASSERT_GT(undone.size(), 1000u) << c.name;
        EXPECT_TRUE(undone == reverted) << c.name;
        EXPECT_FALSE(undone == kept) << c.name << ": the edit is heard";
    }
}

} // namespace
