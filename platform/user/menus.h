// The menu model: popup menus with items, separators and submenus, check marks and grey state.
// Display backends read it to show a menu.
#pragma once

#include <string>
#include <vector>

#include "platform/win32/user.h"

namespace morvex::user {

struct MenuItem {
  UINT flags = 0;         // MF_SEPARATOR, MF_POPUP, MF_CHECKED, MF_GRAYED, MF_DISABLED
  UINT_PTR id = 0;        // command id; for a submenu item the submenu's handle
  std::string text;
  HMENU submenu = nullptr;
};

// A copy of the menu's items; empty for a handle that names no menu.
std::vector<MenuItem> MenuItems(HMENU menu);
// The system menu of a window: its "Close" item (SC_CLOSE) and whatever the program appends.
HMENU SystemMenuOf(HWND hwnd);
// Whether the window's close item is grey, which makes its close button do nothing.
bool CloseDisabled(HWND hwnd);

}  // namespace morvex::user
