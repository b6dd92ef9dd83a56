// The popup menus of the view windows: a submenu of value items and one toggle item, built as the
// only submenu of a menu bar that is never shown, so that it can be tracked as a popup; and the
// mark of a value group that moves from the item it last set to the one matching the value.
#pragma once

#include <cstdint>

#include "platform/win32.h"

struct ValueMenuItem {
  UINT id;
  int32_t value;
  const char* label;
};

struct ViewPopupLayout {
  const char* barTitle;      // the never-shown bar's title
  const char* groupTitle;    // the submenu of the value items
  const ValueMenuItem* items;
  int32_t itemCount;
  UINT toggleId;             // the item after the submenu
  const char* toggleLabel;
};

// Returns the bar; `*popup` is its first submenu, the one to track.
HMENU BuildViewPopup(const ViewPopupLayout& layout, HMENU* popup);

// A value group's mark: the item last marked (`*marked`, 0 for none) is cleared and the item
// carrying `value` marked and remembered. A value no item carries clears the mark when
// `clearOnNoMatch` is true and otherwise leaves the marks as they are.
void MoveValueMark(HMENU popup, const ViewPopupLayout& layout, int32_t value, bool clearOnNoMatch, UINT* marked);

void SetToggleMark(HMENU popup, UINT id, bool checked);
