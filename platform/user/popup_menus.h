// Showing a menu modally, with the notifications Windows sends around it.
#pragma once

#include "platform/win32/user.h"

namespace morvex::user {

// Shows the window's system menu at a screen point; a choice arrives as WM_SYSCOMMAND.
void ShowSystemMenu(HWND hwnd, int x, int y);

}  // namespace morvex::user
