// Menu commands through scripted sessions: New, the file commands, the clipboard, the options.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "app/menu_bar.h"
#include "app/product_info.h"
#include "model/random.h"
#include "shell_session.h"
#include "tools/current_selection.h"

namespace {

std::string tempPath(const std::string& name) {
    return (std::filesystem::temp_directory_path() / ("humbrook_shell_" + name)).string();
}

TEST(MenuBar, ListsEveryItemOnceWithPasteGrayedAndTheOptionsChecked) {
    std::set<int> ids;
    for (const MenuItemSpec& item : kMenuItems) EXPECT_TRUE(ids.insert(item.id).second) << item.id;
    EXPECT_EQ(ids.size(), 29u);
    EXPECT_STREQ(kMenuItems[7].caption, "E&xit\t");
    EXPECT_EQ(kMenuItems[7].id, kMenuExit);
    MenuState fresh;
    for (int id : kPasteItems) EXPECT_TRUE(menuItemGrayed(fresh, id));
    EXPECT_FALSE(menuItemGrayed(fresh, kMenuCopyPattern));
    EXPECT_TRUE(menuItemChecked(fresh, kMenuNoteLatency1));
    EXPECT_TRUE(menuItemChecked(fresh, kMenuSampleRate22050));
    EXPECT_FALSE(menuItemChecked(fresh, kMenuSampleRate44100));
    EXPECT_FALSE(menuItemChecked(fresh, kMenuHelp));
    EXPECT_FALSE(menuItemGrayed(fresh, kMenuZoomIn)) << "the window grays the View items itself";
    // Undo and Redo head the Edit menu, grayed until there is a step, naming it then.
    EXPECT_EQ(kMenuItems[8].id, kMenuUndo);
    EXPECT_EQ(kMenuItems[9].id, kMenuRedo);
    EXPECT_TRUE(menuItemGrayed(fresh, kMenuUndo));
    EXPECT_TRUE(menuItemGrayed(fresh, kMenuRedo));
    EXPECT_EQ(menuItemCaption(fresh, kMenuUndo), "Undo");
    MenuState edited;
    edited.undoAction = "Draw Notes";
    edited.redoAction = "Paste Waveform";
    EXPECT_FALSE(menuItemGrayed(edited, kMenuUndo));
    EXPECT_EQ(menuItemCaption(edited, kMenuUndo), "Undo Draw Notes");
    EXPECT_EQ(menuItemCaption(edited, kMenuRedo), "Redo Paste Waveform");
    EXPECT_EQ(menuItemCaption(edited, kMenuCopyPattern), "Copy Pattern");
}

TEST(MenuCommands, NewPutsEverythingBackToStartUp) {
    ShellSession s;
    std::vector<std::vector<uint8_t>> startPanels;
    for (int panel = 0; panel < kPanelCount; ++panel)
        startPanels.push_back(s.shown(static_cast<PanelId>(panel)));
    s.run("menu 40044\nmenu 40047\nmenu 40049\nkey Space\nkey X\nkey S\nkey G\nkey Q\nkey Enter\n");
    s.song().BPM = 133.0f;
    s.song().Sound[3][7] = 99.0f;
    s.app().clipboards.waveformClipboard[5] = 3.0f;
    s.app().drag.viewOffset[0] = 32;
    restartRandom();
    ASSERT_EQ(s.run("menu 40058\n"), 0);
    const int firstDraw = nextRandom();
    restartRandom();
    EXPECT_EQ(firstDraw, nextRandom()) << "New draws no random numbers";

    const AppState& app = s.app();
    EXPECT_EQ(app.engine.playing, 0);
    EXPECT_FLOAT_EQ(app.song.BPM, 70.0f);
    EXPECT_NE(app.song.Sound[3][7], 99.0f);
    EXPECT_EQ(app.song.Mute[0], 0);
    EXPECT_EQ(app.engine.pendingMuteToggle[0], 0);
    EXPECT_EQ(app.ui.currentInstrument, 0);
    EXPECT_EQ(app.ui.envelopeCurve, 0);
    EXPECT_EQ(app.ui.slidingAllowed, 1);
    EXPECT_EQ(app.ui.resetWaveformCycle, 0);
    EXPECT_EQ(app.engine.noteLatency, 1);
    EXPECT_EQ(app.engine.streamRate, 22050);
    EXPECT_EQ(app.stream.format.sampleRate, 22050);
    EXPECT_EQ(app.engine.chunkFrames, 4725);
    EXPECT_EQ(app.drag.viewOffset[0], 0);
    EXPECT_EQ(app.clipboards.waveformClipboard[5], 0.0f);
    // Every knob is at 0, so every slot plays its preset drawing.
    for (int slot = 0; slot < kWaveformSlotCount; ++slot) {
        const float* playback = app.engine.playbackWaveforms.wave[slot];
        for (int i = 0; i < kWaveformSamples; ++i) ASSERT_EQ(playback[i], app.song.Sound[slot][i]);
        EXPECT_EQ(playback[kWaveformSamples], app.song.Sound[slot][0]);
    }
    EXPECT_EQ(app.stream.device, &s.session->device);
    EXPECT_EQ(s.session->device.bufferSize(), 94500);
    // The check marks follow the fresh state; a Paste item once enabled stays enabled.
    EXPECT_TRUE(menuItemChecked(s.session->menu, kMenuNoteLatency1));
    EXPECT_TRUE(menuItemChecked(s.session->menu, kMenuSampleRate22050));
    EXPECT_FALSE(menuItemGrayed(s.session->menu, kMenuPastePattern));
    EXPECT_NE(s.protocol.str().find("title\t" + startupWindowTitle() + "\n"), std::string::npos);
    // Every panel as at start-up, the 2D effect controller too: it draws over its own earlier
    // pixels, and New takes away the trail of the old song's knob values.
    for (int panel = 0; panel < kPanelCount; ++panel) {
        EXPECT_EQ(s.shown(static_cast<PanelId>(panel)), startPanels[panel]) << "panel " << panel;
    }
}

TEST(MenuCommands, PasteItemsAreGrayedUntilTheirCopy) {
    ShellSession s;
    const int slot = waveformSlotOf(s.song(), s.app().ui.currentInstrument);
    s.song().Sound[slot][10] = 42.0f;
    s.run("menu 40054\n");
    EXPECT_FLOAT_EQ(s.song().Sound[slot][10], 42.0f) << "a grayed item delivers nothing";
    EXPECT_TRUE(menuItemGrayed(s.session->menu, kMenuPasteWaveform));

    s.run("menu 40053\n");
    EXPECT_FALSE(menuItemGrayed(s.session->menu, kMenuPasteWaveform));
    EXPECT_TRUE(menuItemGrayed(s.session->menu, kMenuPastePattern));
    s.song().Sound[slot][10] = -5.0f;
    auto editor = s.shown(PanelId::WaveEditor);
    s.run("menu 40054\n");
    EXPECT_FLOAT_EQ(s.song().Sound[slot][10], 42.0f);
    EXPECT_NE(s.shown(PanelId::WaveEditor), editor);

    // After New the item stays enabled and pastes the fresh, zeroed clipboard.
    s.run("answer dont-save\nmenu 40058\nmenu 40054\n");
    EXPECT_FLOAT_EQ(s.song().Sound[waveformSlotOf(s.song(), s.app().ui.currentInstrument)][10],
                    0.0f);
}

TEST(MenuCommands, PasteWaveformRebuildsWhatTheVoicesPlayWithTheSlotsOwnKnobs) {
    ShellSession s;
    s.song().SoundIdx[0] = 3; // the square preset
    s.run("menu 40053\n");
    s.song().SoundIdx[0] = 5;
    s.song().SoundEffect[5][kKnobMix].value = 0.5f;
    s.run("menu 40054\n");
    const float* playback = s.app().engine.playbackWaveforms.wave[5];
    EXPECT_FLOAT_EQ(playback[100], 25.0f + 0.5f * s.song().Sound[6][100]); // half square, half sine
    EXPECT_EQ(playback[kWaveformSamples], playback[0]);
}

TEST(MenuCommands, PasteEffectsHandsTheKnobsToTheEngine) {
    ShellSession s;
    s.song().Effect[0][3].value = 0.9f;
    s.run("menu 40055\nkey Space\nkey Enter\n");
    KnobAutomation& ring = s.app().stream.knobAutomation[1];
    int pendingBefore = 0;
    for (int valid : ring.valid) pendingBefore += valid;
    s.run("menu 40056\n");
    EXPECT_FLOAT_EQ(s.song().Effect[1][3].value, 0.9f);
    int pendingAfter = 0;
    for (int valid : ring.valid) pendingAfter += valid;
    EXPECT_EQ(pendingAfter, pendingBefore + 1);
}

TEST(MenuCommands, PatternAndEnvelopeClipboardsCopyBetweenInstruments) {
    ShellSession s;
    s.song().noteGrid[0].notePosition[2][5] = 1;
    s.song().noteGrid[0].noteLength[2][5] = 1;
    s.song().noteGrid[0].nextRow[2][5] = -1;
    s.song().Pan[0][2] = 0.2f;
    s.run("menu 40049\nkey Space\nmenu 40050\n");
    EXPECT_EQ(s.song().noteGrid[1].notePosition[2][5], 1);
    EXPECT_FLOAT_EQ(s.song().Pan[1][2], 0.2f);

    s.run("key X\nmenu 40051\nkey C\nmenu 40052\n");
    const int bank = s.song().EnvIdx[1];
    EXPECT_FLOAT_EQ(s.song().Cutoff[bank][50], s.song().Pitch[bank][50]);
}

TEST(MenuCommands, NoteLatencyAndSampleRateStopPlaybackAndMoveTheChecks) {
    ShellSession s;
    s.run("key Enter\nmenu 40044\n");
    EXPECT_EQ(s.app().engine.playing, 0);
    EXPECT_EQ(s.app().engine.noteLatency, 3);
    EXPECT_TRUE(menuItemChecked(s.session->menu, kMenuNoteLatency3));
    EXPECT_FALSE(menuItemChecked(s.session->menu, kMenuNoteLatency1));

    s.run("key Enter\nmenu 40047\n");
    EXPECT_EQ(s.app().engine.playing, 0);
    EXPECT_EQ(s.app().engine.streamRate, 44100);
    EXPECT_EQ(s.app().stream.format.avgBytesPerSecond, 176400);
    EXPECT_EQ(s.app().engine.chunkFrames, 9450);
    EXPECT_EQ(s.session->device.bufferSize(), 189000);
    EXPECT_TRUE(menuItemChecked(s.session->menu, kMenuSampleRate44100));

    s.run("key Enter\nmenu 40047\n");
    EXPECT_EQ(s.app().engine.playing, 0) << "the checked rate still stops and rebuilds";
    EXPECT_EQ(s.session->device.bufferSize(), 189000);
}

TEST(MenuCommands, SaveRecordedWaveWithoutRecordingSaysSorry) {
    ShellSession s;
    s.run("key Enter\nmenu 40048\n");
    EXPECT_EQ(s.app().engine.playing, 0);
    EXPECT_EQ(s.protocol.str(), "message\tSorry\tNo beats recorded.\n");
}

TEST(MenuCommands, SaveRecordedWaveWritesTheRecording) {
    ShellSession s;
    const std::string wav = tempPath("recorded.wav");
    std::remove(wav.c_str());
    s.run("key L\nsteps 4\n");
    const unsigned chunks = static_cast<unsigned>(s.app().recording.recordedChunks);
    EXPECT_GE(chunks, 4u);
    s.run("dialog " + wav + "\nmenu 40048\n");
    EXPECT_EQ(s.app().engine.playing, 0);
    EXPECT_EQ(std::filesystem::file_size(wav), 56u + chunks * 4725u * 4u);
    std::remove(wav.c_str());
}

TEST(MenuCommands, SaveThenOpenRestoresTheSongAndSetsTheTitle) {
    ShellSession s;
    const std::string song = tempPath("song.zwv");
    s.song().BPM = 96.5f;
    s.song().Effect[3][2].value = 0.75f;
    s.song().DelayParams[2][1][2] = 0.33f;
    ASSERT_EQ(s.run("save " + song + "\n"), 0);
    EXPECT_NE(s.protocol.str().find("title\t" + songWindowTitle(song)), std::string::npos);

    s.run("menu 40058\nkey Enter\n");
    ASSERT_FLOAT_EQ(s.song().BPM, 70.0f);
    ASSERT_EQ(s.run("open " + song + "\n"), 0);
    EXPECT_EQ(s.app().engine.playing, 0);
    EXPECT_FLOAT_EQ(s.song().BPM, 96.5f);
    EXPECT_FLOAT_EQ(s.song().Effect[3][2].value, 0.75f);
    // Every instrument's knobs and delays reach the engine, not only the current one's.
    for (int i = 0; i < kInstrumentCount; ++i) {
        int pendingKnobs = 0, pendingDelays = 0;
        for (int valid : s.app().stream.knobAutomation[i].valid) pendingKnobs += valid;
        for (int valid : s.app().stream.delayAutomation[i].valid) pendingDelays += valid;
        EXPECT_GE(pendingKnobs, 1) << "instrument " << i;
        EXPECT_GE(pendingDelays, 1) << "instrument " << i;
    }
    std::remove(song.c_str());
}

TEST(MenuCommands, OpenRecentOpensTheRememberedSongsNewestFirst) {
    ShellSession s;
    const std::string older = tempPath("older.zwv"), newer = tempPath("newer.zwv");
    s.song().BPM = 81.0f;
    ASSERT_EQ(s.run("save " + older + "\n"), 0);
    s.song().BPM = 82.0f;
    ASSERT_EQ(s.run("save " + newer + "\n"), 0);
    EXPECT_EQ(s.session->platform.settings().recentSongs, (std::vector<std::string>{newer, older}));
    // The second item opens the older song, which then comes first; an item past the list opens
    // nothing.
    ASSERT_EQ(s.run("menu 40071\nmenu 40077\n"), 0);
    EXPECT_FLOAT_EQ(s.song().BPM, 81.0f);
    EXPECT_EQ(s.app().songPath, older);
    EXPECT_EQ(s.session->platform.settings().recentSongs, (std::vector<std::string>{older, newer}));
    // File > Save writes the song opened from the list to its file, without a dialog.
    s.song().BPM = 83.0f;
    ASSERT_EQ(s.run("menu 40039\n"), 0);
    ASSERT_EQ(s.run("menu 40071\nmenu 40071\n"), 0);
    EXPECT_FLOAT_EQ(s.song().BPM, 83.0f);
    std::remove(older.c_str());
    std::remove(newer.c_str());
}

TEST(MenuCommands, CancelledDialogsChangeNothing) {
    ShellSession s;
    s.run("key Enter\nmenu 40038\n");
    EXPECT_EQ(s.app().engine.playing, 0);
    s.run("dialog cancel\nmenu 40039\nmenu 40057\n");
    EXPECT_EQ(s.protocol.str(), "");
    EXPECT_EQ(s.song().SoundType[0], 0);
}

TEST(MenuCommands, OpenOfAMissingFileWarnsAndKeepsTheSong) {
    ShellSession s;
    s.run("open /nonexistent/humbrook/song.zwv\n");
    EXPECT_EQ(s.protocol.str(), "beep\twarning\nmessage\t\tCouldn't Open File\n");
    EXPECT_FLOAT_EQ(s.song().BPM, 70.0f);
}

TEST(MenuCommands, HelpAndAboutShowTheirBoxes) {
    ShellSession s;
    s.run("menu 40041\n");
    EXPECT_EQ(s.protocol.str().rfind(
                  "message\tHelp\tKeyboard Commands:\\n\\nEnter \\t\\t- Play/Stop\\n", 0),
              0u);
    s.protocol.str("");
    s.run("menu 40059\n");
    EXPECT_EQ(s.protocol.str().rfind("message\tAbout\tHumbrook 1.0", 0), 0u);
}

TEST(MenuCommands, ExitEndsTheSessionAndLaterCommandsAreNotDelivered) {
    ShellSession s;
    EXPECT_EQ(s.run("menu 10001\nkey Enter\n"), 0);
    EXPECT_TRUE(s.session->exited);
    EXPECT_EQ(s.app().engine.playing, 0);
}

// Sound Device, like the View items, belongs to the window: a script's menu command for it
// changes nothing, not even while playing.
TEST(MenuCommands, UnknownIdsAndTheWindowsOwnItemsDoNothing) {
    ShellSession s;
    auto picture = s.session->screen.display.picture.pixels;
    EXPECT_EQ(s.run("menu 12345\nmenu 0\nmenu 40067\n"), 0);
    EXPECT_EQ(s.session->screen.display.picture.pixels, picture);
    EXPECT_EQ(s.run("key Enter\nmenu 40067\n"), 0);
    EXPECT_EQ(s.app().engine.playing, 1);
    EXPECT_EQ(s.protocol.str(), "");
}

} // namespace
