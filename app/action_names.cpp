// The action names of keys, menu items and panels.
#include "app/action_names.h"

#include "app/key_codes.h"
#include "app/menu_bar.h"
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

struct PanelAction {
    PanelId id;
    const char* press;      // left press and drag
    const char* rightPress; // nullptr: the panel takes no right press
};

// In the order a press tries the panels (app/panel_mouse.cpp).
constexpr PanelAction kPanelActions[] = {
    {PanelId::WaveEditor, "Edit Waveform", nullptr},
    {PanelId::EffectKnobs, "Turn Effect Knob", nullptr},
    {PanelId::DelayReverb, "Change Delay", nullptr},
    {PanelId::EffectController2D, "Move Effect Controller", nullptr},
    {PanelId::EnvelopeEditor, "Draw Envelope", nullptr},
    {PanelId::ChordKeys, "Change Chord Keys", nullptr},
    {PanelId::NotePad, "Draw Notes", "Erase Notes"},
    {PanelId::EnvelopeButtons, "Choose Envelope", nullptr},
    {PanelId::WaveButtons, "Choose Waveform", nullptr},
    {PanelId::InstrumentButton, "Choose Instrument", nullptr},
    {PanelId::InstrumentControl, "Change Instrument", nullptr},
    {PanelId::NoteBankSequencer, "Change Play Order", nullptr},
    {PanelId::NoteBankButtons, "Choose Note Bank", "Queue Note Bank"},
    {PanelId::MainVolumeControl, "Change Main Volume", nullptr},
    {PanelId::BpmDisplay, "Change Tempo", nullptr},
    {PanelId::PlayStopRecord, "Play", nullptr},
    {PanelId::PanAndVelocity, "Draw Pan and Velocity", nullptr},
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
    for (const PanelAction& action : kPanelActions) {
        const char* name = rightButton ? action.rightPress : action.press;
        if (name && inside(panelRect(layout, action.id), x, y)) return name;
    }
    return kUnnamedAction;
}
