// The action names of keys, menu items and panels.
#include "app/action_names.h"

#include "app/key_codes.h"
#include "app/menu_bar.h"
#include "app/panel_mouse.h"
#include "ui/panel_layout.h"

namespace {

constexpr const char* kUnnamedAction = "Edit";

struct KeyAction {
    int key;
    const char* name;
};

// Keys that change the song; the others change none (their steps, if any, say "Edit").
constexpr KeyAction kKeyActions[] = {
    {'A', "Smooth Envelope"},          {'D', "Smooth Waveform"},     {'F', "Step Envelope"},
    {'G', "Reset Waveform"},           {kKeyUp, "Amplify Waveform"}, {kKeyDown, "Reduce Waveform"},
    {kKeyDelete, "Delete Sound File"}, {kKeyLeft, "Next Bank"},      {kKeyRight, "Previous Bank"},
};

bool inside(const PanelRect& rect, int x, int y) {
    return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

} // namespace

std::string keyActionName(int key, bool bpmDigitSelected) {
    if (isDigitKey(key)) return bpmDigitSelected ? "Type Tempo" : "Queue Note Bank";
    for (const KeyAction& action : kKeyActions)
        if (action.key == key) return action.name;
    return kUnnamedAction;
}

std::string menuActionName(int id) {
    for (const MenuItemSpec& item : kMenuItems) {
        if (item.id != id) continue;
        std::string name;
        for (const char* c = item.caption; *c; ++c)
            if (*c != '&' && *c != '\t') name += *c;
        return name;
    }
    return kUnnamedAction;
}

std::string mouseActionName(const PanelLayout& layout, int x, int y, bool rightButton) {
    for (const PanelMouse& panel : kPanelMouse) {
        const char* name = rightButton ? panel.rightPressAction : panel.pressAction;
        if (name && inside(panelRect(layout, panel.id), x, y)) return name;
    }
    return kUnnamedAction;
}
