// The Help and About box texts, built piece by piece in the order the boxes list them.
#include "app/help_boxes.h"

#include "app/platform.h"
#include "app/product_info.h"

namespace {

// The closing lines both boxes share: the web page and the contact address.
std::string moreInformationText() {
    return std::string("\n\nFor more information please visit:\n") + "\n" + kWebPageAddress + "\n" +
           "\nor write to " + kContactAddress + "\n";
}

} // namespace

std::string helpBoxText() {
    static const char* const kLines[] = {
        "Keyboard Commands:\n\n",
        "Enter \t\t- Play/Stop\n",
        "Space Bar \t- Switch Instruments\n",
        "0...9 \t\t- Enter next measure to be played/Enter BPM\n",
        "Q \t\t- Mute Instrument 1\n",
        "W \t\t- Mute Instrument 2\n",
        "E \t\t- Mute Instrument 3\n",
        "R \t\t- Mute Instrument 4\n",
        "A \t\t- Average Current Envelope\n",
        "S \t\t- Allow/Disallow Sliding Notes\n",
        "D \t\t- Average Waveform\n",
        "F \t\t- Step Envelope\n",
        "G \t\t- Reset Waveform\n",
        "L \t\t- Start/Stop Recording\n",
        "Z \t\t- Display Amplitude Envelope\n",
        "X \t\t- Display Pitch Envelope\n",
        "C \t\t- Display Frequency Cutoff Envelope\n",
        "V \t\t- Display Ratio of Highpass/Lowpass Filters Envelope\n",
        "Up Arrow \t\t- Amplify WaveForm\n",
        "Down Arrow \t- Reduce WaveForm\n",
        "Left Arrow \t- Forward One Measure\n",
        "Right Arrow \t- Reverse One Measure\n",
        "Delete \t\t- Delete Imported WaveForm\n",
    };
    std::string text;
    for (const char* line : kLines) text += line;
    return text + moreInformationText();
}

std::string aboutBoxText() {
    std::string text = std::string(kProgramName) + "   \t\t" + kBuildNumber + "\n\n";
    text += std::string(kReleaseDate) + "\n\n";
    text += "A four-instrument synthesizer and step sequencer in one window.\n";
    return text + moreInformationText();
}

void showHelpBox(Platform& platform) {
    platform.showMessage(helpBoxText(), "Help", MessageIcon::None);
}

void showAboutBox(Platform& platform) {
    platform.showMessage(aboutBoxText(), "About", MessageIcon::None);
}
