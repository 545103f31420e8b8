// Text shown as an FLTK label, where '@' starts a symbol.
#pragma once

#include <string>

// The text with every '@' doubled, which a label shows as one '@'.
inline std::string escapedLabel(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        escaped += c;
        if (c == '@') escaped += '@';
    }
    return escaped;
}
