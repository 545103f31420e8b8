// Key codes of the keyboard commands: capital letters and digits by their characters, the other
// keys by codes above the character range.
#pragma once

#include <string_view>

enum KeyCode : int {
    kKeyNone = 0,
    kKeySpace = ' ',
    kKeyEnter = 256,
    kKeyLeft,
    kKeyRight,
    kKeyUp,
    kKeyDown,
    kKeyDelete,
};

// The code a script names: "Enter", "Space", "Left", "Right", "Up", "Down", "Delete", a digit
// "0".."9" or a capital letter "A".."Z"; kKeyNone for any other name.
KeyCode keyCodeFromName(std::string_view name);

inline bool isDigitKey(int key) {
    return key >= '0' && key <= '9';
}
inline bool isLetterKey(int key) {
    return key >= 'A' && key <= 'Z';
}
