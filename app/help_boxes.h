// The Help and About boxes of the Help menu: their texts and how they are shown.
#pragma once

#include <string>

class Platform;

// The keyboard commands and where to learn more, as the Help box shows them.
std::string helpBoxText();
// Name, build, release date and where to learn more, as the About box shows them.
std::string aboutBoxText();

// Modal boxes with an OK button, no icon, captions "Help" and "About".
void showHelpBox(Platform& platform);
void showAboutBox(Platform& platform);
