#include "shared/menu_table.h"

void AppendMenuTable(HMENU popup, std::span<const MenuEntry> entries) {
  HMENU target = popup;
  const char* submenuTitle = nullptr;
  for (const MenuEntry& entry : entries) {
    switch (entry.kind) {
      case MenuEntryKind::Item:
        AppendMenuA(target, MF_STRING, entry.id, entry.label);
        break;
      case MenuEntryKind::Notice:
        AppendMenuA(target, MF_STRING | MF_GRAYED, entry.id, entry.label);
        break;
      case MenuEntryKind::Separator:
        AppendMenuA(target, MF_SEPARATOR, 0, nullptr);
        break;
      case MenuEntryKind::Begin:
        target = CreatePopupMenu();
        submenuTitle = entry.label;
        break;
      case MenuEntryKind::End:
        AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(target), submenuTitle);
        target = popup;
        break;
    }
  }
}
