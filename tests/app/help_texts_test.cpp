// The Help and About boxes and the hover help line.
#include <gtest/gtest.h>

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
