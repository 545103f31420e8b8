// The Help and About box texts, built piece by piece in the order the boxes list them, and their
// columns lined up for the font they are shown in.
#include "app/help_boxes.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "app/platform.h"
#include "app/product_info.h"

namespace {

// The closing lines both boxes share: the web page and the contact address.
std::string moreInformationText() {
    return std::string("\n\nFor more information please visit:\n") + "\n" + kWebPageAddress + "\n" +
           "\nor write to " + kContactAddress + "\n";
}

constexpr std::string_view kHairSpace = "\xe2\x80\x8a"; // U+200A in UTF-8

// Blanks `gap` pixels wide, within half a hair space (or, where the font has no narrower blank
// than the space, half a space).
std::string padding(double gap, const TextWidth& width) {
    const double space = width(" ");
    const double hair = width(kHairSpace);
    if (space <= 0.0 || gap <= 0.0) return "";
    const bool fine = hair > 0.0 && hair < space;
    const int spaces = static_cast<int>(fine ? gap / space : gap / space + 0.5);
    const double left = gap - spaces * space;
    const int hairs = fine ? static_cast<int>(left / hair + 0.5) : 0;
    std::string blanks(static_cast<size_t>(spaces), ' ');
    for (int k = 0; k < hairs; ++k) blanks += kHairSpace;
    return blanks;
}

struct TabLine {
    std::string_view first; // the text before the tabs
    std::string_view rest;  // the text after them
};

std::vector<std::string_view> splitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    size_t start = 0;
    for (size_t end; (end = text.find('\n', start)) != std::string_view::npos; start = end + 1)
        lines.push_back(text.substr(start, end - start));
    lines.push_back(text.substr(start));
    return lines;
}

} // namespace

std::string alignTabColumns(std::string_view text, const TextWidth& width) {
    const std::vector<std::string_view> lines = splitLines(text);
    double column = 0.0;
    std::vector<std::optional<TabLine>> split;
    for (std::string_view line : lines) {
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) {
            split.emplace_back();
            continue;
        }
        const size_t after = line.find_first_not_of('\t', tab);
        split.emplace_back(TabLine{line.substr(0, tab), after == std::string_view::npos
                                                            ? std::string_view()
                                                            : line.substr(after)});
        column = std::max(column, width(split.back()->first));
    }
    column += 4.0 * width(" ");
    std::string aligned;
    for (size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) aligned += '\n';
        if (!split[k]) {
            aligned += lines[k];
            continue;
        }
        aligned += split[k]->first;
        aligned += padding(column - width(split[k]->first), width);
        aligned += split[k]->rest;
    }
    return aligned;
}

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
