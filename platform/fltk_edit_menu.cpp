// Undo and Redo in the FLTK menu bar.
#include "platform/fltk_edit_menu.h"

#include <FL/Fl.H>
#include <FL/Fl_Menu_Bar.H>

#include <cstring>
#include <string>

#include "app/menu_bar.h"

void showHistoryCaptions(Fl_Menu_Bar& bar, const MenuState& menu) {
    const Fl_Menu_Item* items = bar.menu();
    for (int i = 0; i < bar.size(); ++i) {
        if (items[i].label() == nullptr || items[i].callback() == nullptr) continue;
        const int id = static_cast<int>(reinterpret_cast<fl_intptr_t>(items[i].user_data()));
        if (id != kMenuUndo && id != kMenuRedo) continue;
        const std::string caption = menuItemCaption(menu, id);
        // The menu bar built with add() keeps its own copy of the text it is given.
        if (caption != items[i].label()) bar.replace(i, caption.c_str());
    }
}

int historyItemShortcut(int id) {
    switch (id) {
    case kMenuUndo:
        return FL_CTRL + 'z';
    case kMenuRedo:
        return FL_CTRL + FL_SHIFT + 'z';
    default:
        return 0;
    }
}

int historyKeyItem() {
    if (!Fl::event_state(FL_CTRL) || Fl::event_state(FL_ALT | FL_META)) return 0;
    switch (Fl::event_key()) {
    case 'z':
        return Fl::event_state(FL_SHIFT) ? kMenuRedo : kMenuUndo;
    case 'y':
        return kMenuRedo;
    default:
        return 0;
    }
}
