// The Help and About boxes of the Help menu: their texts and how they are shown.
#pragma once

#include <functional>
#include <string>
#include <string_view>

class Platform;

// The keyboard commands and where to learn more, as the Help box shows them.
std::string helpBoxText();
// Name, build, release date and where to learn more, as the About box shows them.
std::string aboutBoxText();

// The width of a text in the box's font, in pixels.
using TextWidth = std::function<double(std::string_view)>;

// Lines up the columns of a box text for a proportional font: in every line with a tab, the run
// of tabs after its first column becomes blanks (spaces, then hair spaces U+200A for what is left
// below a space's width) so that the second columns of all such lines start at one x, four
// spaces beyond the widest first column. The words stay as they are; lines without a tab too.
std::string alignTabColumns(std::string_view text, const TextWidth& width);

// Modal boxes with an OK button, no icon, captions "Help" and "About".
void showHelpBox(Platform& platform);
void showAboutBox(Platform& platform);
