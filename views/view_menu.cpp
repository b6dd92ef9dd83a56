#include "views/view_menu.h"

HMENU BuildViewPopup(const ViewPopupLayout& layout, HMENU* popup) {
  const HMENU group = CreatePopupMenu();
  for (int32_t i = 0; i < layout.itemCount; ++i) AppendMenuA(group, MF_STRING, layout.items[i].id, layout.items[i].label);
  const HMENU menu = CreatePopupMenu();
  AppendMenuA(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(group), layout.groupTitle);
  AppendMenuA(menu, MF_STRING, layout.toggleId, layout.toggleLabel);
  const HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), layout.barTitle);
  *popup = GetSubMenu(bar, 0);
  return bar;
}

void MoveValueMark(HMENU popup, const ViewPopupLayout& layout, int32_t value, bool clearOnNoMatch, UINT* marked) {
  UINT matching = 0;
  for (int32_t i = 0; i < layout.itemCount; ++i) {
    if (layout.items[i].value == value) matching = layout.items[i].id;
  }
  if (matching == 0 && !clearOnNoMatch) return;
  if (*marked != 0) CheckMenuItem(popup, *marked, MF_BYCOMMAND | MF_UNCHECKED);
  if (matching != 0) CheckMenuItem(popup, matching, MF_BYCOMMAND | MF_CHECKED);
  *marked = matching;
}

void SetToggleMark(HMENU popup, UINT id, bool checked) {
  CheckMenuItem(popup, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}
