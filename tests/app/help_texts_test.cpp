// The Help and About boxes and the hover help line.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <sstream>

#include "app/help_boxes.h"
#include "app/hover_help.h"
#include "app/product_info.h"
#include "shell_session.h"

namespace {

TEST(HelpBoxes, HelpListsTheKeysAndTheAddresses) {
    const std::string text = helpBoxText();
    EXPECT_EQ(text.rfind("Keyboard Commands:\n\nEnter \t\t- Play/Stop\nSpace Bar \t- Switch "
                         "Instruments\n0...9 \t\t- Enter next measure to be played/Enter BPM\n",
                         0),
              0u);
    for (const char* line :
         {"Q \t\t- Mute Instrument 1\n", "R \t\t- Mute Instrument 4\n",
          "V \t\t- Display Ratio of Highpass/Lowpass Filters Envelope\n",
          "Up Arrow \t\t- Amplify WaveForm\nDown Arrow \t- Reduce WaveForm\n",
          "Left Arrow \t- Forward One Measure\nRight Arrow \t- Reverse One Measure\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
    const std::string ending = std::string("Delete \t\t- Delete Imported WaveForm\n\n\nFor more "
                                           "information please visit:\n\n") +
                               kWebPageAddress + "\n\nor write to " + kContactAddress + "\n";
    ASSERT_GE(text.size(), ending.size());
    EXPECT_EQ(text.substr(text.size() - ending.size()), ending);
    EXPECT_LT(text.size(), 2000u) << "fits the box's text buffer";
    EXPECT_EQ(aboutBoxText().rfind("Humbrook 1.0", 0), 0u);
}

// A proportional font: letters 7 pixels wide, digits and marks 5, the space 4, the hair space
// U+200A `hair`.
TextWidth fakeFont(double hair) {
    return [hair](std::string_view text) {
        double width = 0.0;
        for (size_t k = 0; k < text.size(); ++k) {
            if (text.compare(k, 3, "\xe2\x80\x8a") == 0) {
                width += hair;
                k += 2;
            } else {
                width += text[k] == ' '                                      ? 4.0
                         : std::isalpha(static_cast<unsigned char>(text[k])) ? 7.0
                                                                             : 5.0;
            }
        }
        return width;
    };
}

// Each shown line is the original's first column, blanks, and the rest; where the rest starts.
double columnStart(const std::string& shown, const std::string& original, const TextWidth& width) {
    const size_t tab = original.find('\t');
    const size_t rest = original.find_first_not_of('\t', tab);
    const std::string first = original.substr(0, tab);
    const std::string tail = original.substr(rest);
    EXPECT_EQ(shown.rfind(first, 0), 0u) << shown;
    EXPECT_GE(shown.size(), first.size() + tail.size());
    EXPECT_EQ(shown.substr(shown.size() - tail.size()), tail) << shown;
    const std::string blanks =
        shown.substr(first.size(), shown.size() - first.size() - tail.size());
    EXPECT_EQ(blanks.find_first_not_of(" \xe2\x80\x8a"), std::string::npos) << shown;
    return width(shown.substr(0, shown.size() - tail.size()));
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

TEST(HelpBoxes, TheHelpBoxColumnsLineUpInAProportionalFont) {
    const std::string text = helpBoxText();
    for (double hair : {1.0, 0.0}) { // with and without a hair space in the font
        const TextWidth width = fakeFont(hair);
        const std::string shown = alignTabColumns(text, width);
        EXPECT_EQ(shown.find('\t'), std::string::npos);
        const std::vector<std::string> before = lines(text);
        const std::vector<std::string> after = lines(shown);
        ASSERT_EQ(after.size(), before.size());
        std::vector<double> starts;
        for (size_t k = 0; k < before.size(); ++k) {
            if (before[k].find('\t') == std::string::npos)
                EXPECT_EQ(after[k], before[k]);
            else
                starts.push_back(columnStart(after[k], before[k], width));
        }
        ASSERT_EQ(starts.size(), 22u) << "one line a key";
        const auto [low, high] = std::minmax_element(starts.begin(), starts.end());
        EXPECT_LE(*high - *low, hair > 0.0 ? 0.0 : 4.0) << "hair " << hair;
        // "Right Arrow " is the widest first column: 10 letters and two spaces, then 4 spaces.
        EXPECT_NEAR(*low, 10 * 7 + 2 * 4 + 4 * 4, hair > 0.0 ? 0.0 : 2.0);
    }
}

TEST(HoverHelp, NamesThePanelUnderTheCursorStrictlyInside) {
    ShellSession s;
    const Screen& screen = s.session->screen;
    const PanelRect& pad = panelRect(screen.layout, PanelId::NotePad);
    EXPECT_STREQ(hoverHelpText(s.app(), screen, pad.left + 5, pad.top + 5),
                 "NOTE PAD:  DRAW NOTES IN THE MEASURE  <RIGHT CLICK> ERASE NOTE  <S> TOGGLE "
                 "SLIDING  ");
    EXPECT_STREQ(hoverHelpText(s.app(), screen, pad.left, pad.top + 5), "") << "border line";
    EXPECT_STREQ(hoverHelpText(s.app(), screen, 2, 2), "");
    EXPECT_STREQ(hoverHelpText(s.app(), screen, -1, -1), "");
    const PanelRect& cpu = panelRect(screen.layout, PanelId::CpuMeter);
    EXPECT_STREQ(hoverHelpText(s.app(), screen, cpu.left + 3, cpu.top + 3),
                 "CPU METER:  AMOUNT THE CPU IS BEING USED - CRACKING NOISE WILL OCCUR IF TOO "
                 "HIGH ");
}

TEST(HoverHelp, TheEnvelopeEditorNamesTheCurveShownAndTheStepKey) {
    ShellSession s;
    const PanelRect& editor = panelRect(s.session->screen.layout, PanelId::EnvelopeEditor);
    s.run("key C\n");
    const std::string text =
        hoverHelpText(s.app(), s.session->screen, editor.left + 20, editor.top + 20);
    EXPECT_NE(text.find("FREQUENCY CUTOFF"), std::string::npos);
    EXPECT_NE(text.find("<F>"), std::string::npos);
}

TEST(HoverHelp, ADragOutranksThePanelAndTheLineWaitsForAnActiveWindow) {
    ShellSession s;
    const Screen& screen = s.session->screen;
    const PanelRect& pad = panelRect(screen.layout, PanelId::NotePad);
    s.app().drag.knobDragIndex = 1;
    EXPECT_STREQ(hoverHelpText(s.app(), screen, pad.left + 5, pad.top + 5),
                 "EFFECT KNOB:  ADJUST AMOUNT OF RESONANCE ");

    auto line = s.shown(PanelId::helpLine);
    s.session->screen.windowActive = 0;
    showHoverHelp(s.app(), s.session->screen, pad.left + 5, pad.top + 5);
    EXPECT_EQ(s.shown(PanelId::helpLine), line);
    s.session->screen.windowActive = 1;
    showHoverHelp(s.app(), s.session->screen, pad.left + 5, pad.top + 5);
    EXPECT_NE(s.shown(PanelId::helpLine), line);
}

} // namespace
