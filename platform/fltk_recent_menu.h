// File > Open Recent in the FLTK menu bar: one item per recent song.
#pragma once

#include <FL/Fl_Menu_Bar.H>

#include <string>
#include <vector>

// Adds the Open Recent submenu of the File menu at the end of the menu bar's items: one item per
// recent song (newest first, ids kMenuOpenRecentFirst onwards), or one grayed "(None)" item.
void addOpenRecentMenu(Fl_Menu_Bar& bar, const std::vector<std::string>& recentSongs,
                       Fl_Callback* callback);

// A caption as Fl_Menu_::add reads it: '/' and '\' escaped, so a path stays one item.
std::string escapedMenuPathPart(const std::string& caption);
