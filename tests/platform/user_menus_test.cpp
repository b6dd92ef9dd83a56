#include <gtest/gtest.h>

#include <string>

#include "platform/display/memory_display.h"
#include "platform/user/menus.h"
#include "platform/win32.h"

namespace {

std::string Label(HMENU menu, UINT id, UINT flags = MF_BYCOMMAND) {
  char text[64];
  GetMenuStringA(menu, id, text, sizeof text, flags);
  return text;
}

class MenusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    top = CreatePopupMenu();
    sub = CreatePopupMenu();
    AppendMenuA(top, MF_STRING, 1, "triangle");
    AppendMenuA(top, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(sub, MF_STRING, 61, "fft 補間しない");
    AppendMenuA(sub, MF_STRING, 62, "fft 補間で2倍にする(wav1/2)");
    AppendMenuA(top, MF_POPUP, reinterpret_cast<UINT_PTR>(sub), "menu for debug");
  }
  void TearDown() override { DestroyMenu(top); }
  HMENU top = nullptr;
  HMENU sub = nullptr;
};

// The order, labels and submenus of a whole menu are checked with the FFT window's popup.
TEST_F(MenusTest, CheckAndGreyFindItemsInsideSubmenus) {
  EXPECT_EQ(CheckMenuItem(top, 62, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuState(sub, 62, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(top, 62, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
  EXPECT_EQ(GetMenuState(top, 62, MF_BYCOMMAND) & MF_CHECKED, 0u);
  EnableMenuItem(top, 61, MF_GRAYED);
  EXPECT_EQ(GetMenuState(top, 61, MF_BYCOMMAND) & MF_GRAYED, static_cast<UINT>(MF_GRAYED));
  // Checking does not touch the grey state, and the other way round.
  CheckMenuItem(top, 61, MF_CHECKED);
  EXPECT_EQ(GetMenuState(top, 61, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED | MF_CHECKED));
  EXPECT_EQ(CheckMenuItem(top, 999, MF_CHECKED), static_cast<DWORD>(-1));
  EXPECT_EQ(EnableMenuItem(top, 999, MF_GRAYED), -1);
}

TEST_F(MenusTest, DestroyedMenusAndSubmenusAreGone) {
  HMENU other = CreatePopupMenu();
  HMENU inner = CreatePopupMenu();
  AppendMenuA(other, MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "inner");
  EXPECT_TRUE(DestroyMenu(other));
  EXPECT_EQ(GetMenuItemCount(inner), -1);
  EXPECT_FALSE(AppendMenuA(inner, MF_STRING, 1, "x"));
}

LRESULT CALLBACK MenuOwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

TEST(SystemMenuTest, HasACloseItemTakesAppendedMenusAndMiddleClickOpensIt) {
  auto* display = new morvex::display::MemoryDisplay;
  morvex::display::InstallBackend(display);
  WNDCLASSA cls{};
  cls.lpfnWndProc = MenuOwnerProc;
  cls.lpszClassName = "menuowner";
  RegisterClassA(&cls);
  HWND hwnd = CreateWindowExA(0, "menuowner", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
  HMENU system = GetSystemMenu(hwnd, FALSE);
  ASSERT_NE(system, nullptr);
  EXPECT_EQ(GetSystemMenu(hwnd, FALSE), system);
  EXPECT_EQ(GetMenuItemID(system, 0), static_cast<UINT>(SC_CLOSE));
  EXPECT_EQ(Label(system, SC_CLOSE), "Close");
  HMENU debug = CreateMenu();
  AppendMenuA(debug, MF_STRING, 73, "vslineにする");
  AppendMenuA(system, MF_SEPARATOR, 0, nullptr);
  AppendMenuA(system, MF_POPUP, reinterpret_cast<UINT_PTR>(debug), "menu for debug");
  EXPECT_EQ(CheckMenuItem(system, 73, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
  EXPECT_EQ(GetMenuItemCount(system), 3);
  // A middle click opens it and the choice arrives as WM_SYSCOMMAND.
  AppendMenuA(system, MF_STRING, 85, "5秒早送り");
  display->queueMenuChoice(85);
  PostMessageA(hwnd, WM_MBUTTONUP, 0, MAKELPARAM(5, 5));
  MSG msg;
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  DispatchMessageA(&msg);
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_SYSCOMMAND));
  EXPECT_EQ(msg.wParam, 85u);
  // A popup's choice arrives as WM_COMMAND.
  HMENU popup = CreatePopupMenu();
  AppendMenuA(popup, MF_STRING, 120, "para full");
  display->queueMenuChoice(120);
  EXPECT_TRUE(TrackPopupMenu(popup, TPM_RIGHTBUTTON, 0, 0, 0, hwnd, nullptr));
  ASSERT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(msg.wParam, 120u);
  DestroyMenu(popup);
  DestroyWindow(hwnd);
}

}  // namespace
