#include <gtest/gtest.h>

#include "platform/win32.h"

namespace {

// Checks and grey states reach items inside submenus, each without touching the other; a
// destroyed menu takes its submenus with it. Labels and order are checked on the Qt menus.
TEST(MenusTest, ItemStatesAreFoundInsideSubmenusAndDestroyedMenusAreGone) {
  HMENU top = CreatePopupMenu();
  HMENU sub = CreatePopupMenu();
  AppendMenuA(top, MF_STRING, 1, "triangle");
  AppendMenuA(sub, MF_STRING, 61, "fft 補間しない");
  AppendMenuA(sub, MF_STRING, 62, "fft 補間で2倍にする(wav1/2)");
  AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "menu for debug");
  EXPECT_EQ(CheckMenuItem(top, 62, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(sub, 62, MF_BYCOMMAND), static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(top, 62, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(top, 62, MF_BYCOMMAND), 0u);
  EnableMenuItem(top, 61, MF_GRAYED);
  CheckMenuItem(top, 61, MF_CHECKED);
  EXPECT_EQ(GetMenuState(top, 61, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED | MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(top, 999, MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_EQ(EnableMenuItem(top, 999, MF_GRAYED), -1);
  EXPECT_TRUE(DestroyMenu(top));
  EXPECT_EQ(GetMenuItemCount(sub), -1);
  EXPECT_FALSE(AppendMenuA(sub, MF_STRING, 1, "x"));
}

}  // namespace
