// Every key, menu command and panel drag in turn: each that changes the saved song is one step
// that undo takes back to the byte-identical text and redo makes again.
#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <set>
#include <string>
#include <string_view>

#include "app/key_codes.h"
#include "app/menu_bar.h"
#include "app/panel_mouse.h"
#include "shell_session.h"
#include "song_text.h"

namespace {

const std::string kWave = (kSourceDir / "tests/golden/songs/stereo.wav").string();

// The text without the play position, which playback moves as it starts, steps and stops (the
// bank in play, the entries of each play order, the mutes flipped by Q, W, E, R): no edit.
std::string withoutPlayPosition(const std::string& text) {
    std::string kept;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, end - start);
        if (line.rfind("PatternStack ", 0) == 0)
            kept += line.substr(0, line.find(' ', line.find(' ', line.find(' ', 13) + 1) + 1));
        else if (line.rfind("PatternIdx ", 0) != 0 && line.rfind("Mute ", 0) != 0)
            kept += line;
        start = end;
    }
    return kept;
}

// Counts the actions walked and those that changed the song.
struct Walk {
    ShellSession s;
    int actions = 0;
    int changes = 0;
    std::set<std::string> stepNames;

    // Runs one action. An unknown menu id closes a gesture still open (typed tempo digits)
    // without changing anything; then the action must have left one step if and only if it
    // changed the saved text, and undo and redo must give back either text byte for byte.
    void check(const std::string& script, const std::string& what) {
        ++actions;
        EditHistory& history = s.session->edits.history;
        const std::string before = songText(s.song());
        const size_t steps = history.stepCount();
        ASSERT_EQ(s.run(script + "menu 1\n"), 0) << what;
        const std::string after = songText(s.song());
        if (history.stepCount() == steps) {
            EXPECT_TRUE(withoutPlayPosition(after) == withoutPlayPosition(before))
                << what << " changed the song and left no step";
            return;
        }
        ++changes;
        ASSERT_EQ(history.stepCount(), steps + 1) << what << " is not one step";
        EXPECT_FALSE(after == before) << what << " left a step that changed nothing saved";
        EXPECT_EQ(s.session->menu.undoAction, history.undoName());
        stepNames.insert(history.undoName());
        ASSERT_EQ(s.run("undo\n"), 0);
        EXPECT_TRUE(songText(s.song()) == before) << "undo of " << what;
        ASSERT_EQ(s.run("redo\n"), 0);
        EXPECT_TRUE(songText(s.song()) == after) << "redo of " << what;
    }
};

std::string keyName(int key) {
    switch (key) {
    case kKeyEnter:
        return "Enter";
    case kKeySpace:
        return "Space";
    case kKeyLeft:
        return "Left";
    case kKeyRight:
        return "Right";
    case kKeyUp:
        return "Up";
    case kKeyDown:
        return "Down";
    case kKeyDelete:
        return "Delete";
    default:
        return std::string(1, static_cast<char>(key));
    }
}

// A zigzag on the envelope curve in view, so that smoothing and stepping change it, and a sound
// imported into the current waveform, so that Delete drops it.
void walkKeys(Walk& walk) {
    const PanelRect& envelope = panelRect(walk.s.session->screen.layout, PanelId::EnvelopeEditor);
    std::string zigzag = "down " + std::to_string(envelope.left + 70) + " " +
                         std::to_string(envelope.top + 60) + "\n";
    for (int k = 1; k < 12; ++k)
        zigzag += "move " + std::to_string(envelope.left + 70 + 20 * k) + " " +
                  std::to_string(envelope.top + (k % 2 ? 30 : 120)) + "\n";
    walk.check(zigzag + "up 0 0\n", "envelope zigzag");
    walk.check("dialog " + kWave + "\nmenu " + std::to_string(kMenuImportWave) + "\n",
               "import before the keys");
    // Space last: it moves on to the next instrument, whose envelope and sound are others.
    std::vector<int> keys;
    for (int key = 'A'; key <= 'Z'; ++key) keys.push_back(key);
    for (int key = '0'; key <= '9'; ++key) keys.push_back(key);
    for (int key : {kKeyUp, kKeyDown, kKeyDelete, kKeyLeft, kKeyRight, kKeyEnter, kKeySpace})
        keys.push_back(key);
    for (int key : keys) walk.check("key " + keyName(key) + "\n", "key " + keyName(key));
}

// Every item but Exit (it ends the session), Undo and Redo themselves; each Paste goes to the
// next instrument, so that it changes something.
void walkMenus(Walk& walk, const std::string& scratch, const std::string& song) {
    for (const MenuItemSpec& item : kMenuItems) {
        const int id = item.id;
        if (id == kMenuExit || id == kMenuUndo || id == kMenuRedo) continue;
        std::string script = "menu " + std::to_string(id) + "\n";
        if (id == kMenuOpen) script = "dialog " + song + "\n" + script;
        // The song in hand has changes: New and Open ask first, and let them go.
        if (id == kMenuNew || id == kMenuOpen) script = "answer dont-save\n" + script;
        if (id == kMenuImportWave) script = "dialog " + kWave + "\n" + script;
        if (id == kMenuSaveAs) script = "dialog " + scratch + "\n" + script;
        for (int paste : kPasteItems)
            if (id == paste) script = "key Space\n" + script;
        walk.check(script, std::string("menu ") + item.caption);
    }
}

// Presses at a grid of points of every panel that takes the mouse, each dragged up and to the
// right before the release; right presses where a panel takes them.
void walkPanels(Walk& walk) {
    const PanelLayout& layout = walk.s.session->screen.layout;
    for (const PanelMouse& panel : kPanelMouse) {
        const PanelRect& r = panelRect(layout, panel.id);
        for (int gx = 1; gx < 8; gx += 2) {
            for (int gy = 1; gy < 4; ++gy) {
                const int x = r.left + rectWidth(r) * gx / 8;
                const int y = r.top + rectHeight(r) * gy / 4;
                const std::string at = std::to_string(x) + " " + std::to_string(y);
                const std::string to1 = std::to_string(x + 6) + " " + std::to_string(y - 9);
                const std::string to2 = std::to_string(x + 13) + " " + std::to_string(y - 17);
                const std::string what = "panel " + std::to_string(static_cast<int>(panel.id));
                if (panel.press)
                    walk.check("down " + at + "\nmove " + to1 + "\nmove " + to2 + "\nup " + to2 +
                                   "\n",
                               what + " drag at " + at);
                if (panel.rightPress) walk.check("rdown " + at + "\n", what + " right at " + at);
            }
        }
    }
}

TEST(EditWalk, EveryKeyMenuCommandAndPanelDragIsUndoneAndRedoneExactly) {
    Walk walk;
    // The songs are opened from copies: File > Save writes the song's own file.
    const std::filesystem::path temp = std::filesystem::temp_directory_path();
    const std::string scratch = (temp / "humbrook_edit_walk.zwv").string();
    const std::string start = (temp / "humbrook_edit_walk_start.zwv").string();
    const std::string opened = (temp / "humbrook_edit_walk_opened.zwv").string();
    const auto overwrite = std::filesystem::copy_options::overwrite_existing;
    std::filesystem::copy_file(kSourceDir / "examples/night_drive.zwv", start, overwrite);
    std::filesystem::copy_file(kSourceDir / "tests/golden/songs/effects.zwv", opened, overwrite);
    ASSERT_EQ(walk.s.run("open " + start + "\n"), 0);
    walkPanels(walk);
    walkKeys(walk);
    // Digits typed into a selected BPM digit: one step for the whole value.
    const PanelRect& bpm = panelRect(walk.s.session->screen.layout, PanelId::BpmDisplay);
    const std::string digit =
        std::to_string(bpm.left + 12) + " " + std::to_string(bpm.top + rectHeight(bpm) / 2);
    walk.check("down " + digit + "\nup " + digit + "\nkey 1\nkey 4\nkey 2\n", "typed tempo");
    walkMenus(walk, scratch, opened);
    // Everything again while the song plays (the sequencer stands still between commands).
    ASSERT_EQ(walk.s.run("key Enter\n"), 0);
    walkPanels(walk);
    walkKeys(walk);
    EXPECT_FALSE(walk.s.session->platform.warningShown()) << walk.s.protocol.str();
    for (const std::string& path : {scratch, scratch + ".wav", start, opened})
        std::filesystem::remove(path);
    // The walk reached every kind of edit.
    for (const char* name : {"New",
                             "Open",
                             "Import Wave",
                             "Paste Pattern",
                             "Paste Envelope",
                             "Paste Waveform",
                             "Paste Effects",
                             "Smooth Envelope",
                             "Smooth Waveform",
                             "Step Envelope",
                             "Reset Waveform",
                             "Amplify Waveform",
                             "Reduce Waveform",
                             "Delete Sound File",
                             "Next Bank",
                             "Previous Bank",
                             "Queue Note Bank",
                             "Type Tempo",
                             "Edit Waveform",
                             "Turn Effect Knob",
                             "Change Delay",
                             "Move Effect Controller",
                             "Draw Envelope",
                             "Change Chord Keys",
                             "Draw Notes",
                             "Erase Notes",
                             "Choose Envelope",
                             "Choose Waveform",
                             "Change Instrument",
                             "Change Play Order",
                             "Choose Note Bank",
                             "Change Main Volume",
                             "Draw Pan and Velocity"})
        EXPECT_EQ(walk.stepNames.count(name), 1u) << name;
    std::cout << walk.changes << " of " << walk.actions << " actions changed the song\n";
}

} // namespace
