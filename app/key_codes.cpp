// Key names of the script runner.
#include "app/key_codes.h"

KeyCode keyCodeFromName(std::string_view name) {
    struct Named {
        std::string_view name;
        KeyCode code;
    };
    static constexpr Named kNamed[] = {
        {"Enter", kKeyEnter}, {"Space", kKeySpace}, {"Left", kKeyLeft},     {"Right", kKeyRight},
        {"Up", kKeyUp},       {"Down", kKeyDown},   {"Delete", kKeyDelete},
    };
    for (const Named& named : kNamed)
        if (name == named.name) return named.code;
    if (name.size() == 1 && (isDigitKey(name[0]) || isLetterKey(name[0])))
        return static_cast<KeyCode>(name[0]);
    return kKeyNone;
}
