// File > Open Recent: the recent songs as menu items.
#include "platform/fltk_recent_menu.h"

#include "app/menu_bar.h"
#include "app/settings.h"

namespace {
constexpr const char* kSubmenuPath = "&File/Open &Recent/";
} // namespace

std::string escapedMenuPathPart(const std::string& caption) {
    std::string escaped;
    for (char c : caption) {
        if (c == '/' || c == '\\') escaped += '\\';
        escaped += c;
    }
    return escaped;
}

void addOpenRecentMenu(Fl_Menu_Bar& bar, const std::vector<std::string>& recentSongs,
                       Fl_Callback* callback) {
    if (recentSongs.empty()) {
        bar.add((std::string(kSubmenuPath) + "(None)").c_str(), 0, nullptr, nullptr,
                FL_MENU_INACTIVE);
        return;
    }
    const int count = static_cast<int>(recentSongs.size());
    for (int i = 0; i < count && i < kMaxRecentSongs; ++i) {
        const std::string caption =
            escapedMenuPathPart(recentSongCaption(i, recentSongs[static_cast<size_t>(i)]));
        bar.add((kSubmenuPath + caption).c_str(), 0, callback,
                reinterpret_cast<void*>(static_cast<fl_intptr_t>(kMenuOpenRecentFirst + i)), 0);
    }
}
