// Popup menus written as tables in menu order: command items, grey notices, separators, and
// submenus opened by a Begin entry (titled by its label) and appended where their End entry is.
#pragma once

#include <span>

#include "platform/win32.h"

enum class MenuEntryKind { Item, Notice, Separator, Begin, End };

struct MenuEntry {
  MenuEntryKind kind;
  UINT id;
  const char* label;
};

// Appends the entries to `popup`.
void AppendMenuTable(HMENU popup, std::span<const MenuEntry> entries);
