// Popup and system menus as QMenus, built from the window layer's menu model.
#pragma once

#include <QMenu>

#include "platform/win32/user.h"

namespace morvex::display::qt {

// Fills `target` with the items of `menu`: labels (UTF-8, "&" marks the accelerator as on
// Windows), check marks, grey items, separators and submenus. Each command item carries its id.
void BuildMenu(QMenu& target, HMENU menu);

// The command id of a chosen action of a built menu; 0 for none.
UINT ChosenId(const QAction* action);

}  // namespace morvex::display::qt
