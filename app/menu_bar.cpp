// Gray and check state of the menu items.
#include "app/menu_bar.h"

bool menuItemGrayed(const MenuState& menu, int id) {
    if (id == kMenuUndo) return menu.undoAction.empty();
    if (id == kMenuRedo) return menu.redoAction.empty();
    for (int i = 0; i < 4; ++i)
        if (kPasteItems[i] == id) return menu.pasteEnabled[i] == 0;
    return false;
}

bool menuItemChecked(const MenuState& menu, int id) {
    switch (id) {
    case kMenuNoteLatency1:
        return menu.checkedNoteLatency == 1;
    case kMenuNoteLatency2:
        return menu.checkedNoteLatency == 2;
    case kMenuNoteLatency3:
        return menu.checkedNoteLatency == 3;
    case kMenuSampleRate22050:
        return menu.checkedSampleRate == 22050;
    case kMenuSampleRate44100:
        return menu.checkedSampleRate == 44100;
    default:
        return false;
    }
}

std::string recentSongCaption(int index, const std::string& path) {
    std::string caption = "&" + std::to_string(index + 1) + " ";
    for (char c : path) {
        if (c == '&') caption += '&';
        caption += c;
    }
    return caption;
}

std::string menuItemCaption(const MenuState& menu, int id) {
    const std::string& action = id == kMenuUndo ? menu.undoAction : menu.redoAction;
    for (const MenuItemSpec& item : kMenuItems) {
        if (item.id != id) continue;
        if ((id == kMenuUndo || id == kMenuRedo) && !action.empty())
            return std::string(item.caption) + " " + action;
        return item.caption;
    }
    return {};
}
