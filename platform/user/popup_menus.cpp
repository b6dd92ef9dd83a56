#include "platform/user/popup_menus.h"

#include "platform/display/display_backend.h"
#include "platform/user/menus.h"
#include "platform/user/window_geometry.h"
#include "platform/win32.h"

namespace morvex::user {
namespace {

UINT TrackMenu(HMENU menu, int x, int y, HWND owner, bool systemMenu) {
  CallWindow(owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), systemMenu ? MAKELPARAM(0, 1) : 0);
  const UINT chosen = display::Backend().trackPopupMenu(menu, x, y, owner);
  CallWindow(owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(menu), 0);
  return chosen;
}

}  // namespace

void ShowSystemMenu(HWND hwnd, int x, int y) {
  HMENU menu = SystemMenuOf(hwnd);
  if (!menu) return;
  if (const UINT chosen = TrackMenu(menu, x, y, hwnd, true)) {
    PostMessageA(hwnd, WM_SYSCOMMAND, chosen, MAKELPARAM(x, y));
  }
}

}  // namespace morvex::user

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*) {
  if (!IsWindow(hwnd) || GetMenuItemCount(menu) < 0) return FALSE;
  const UINT chosen = morvex::user::TrackMenu(menu, x, y, hwnd, false);
  if (flags & TPM_RETURNCMD) return static_cast<BOOL>(chosen);
  if (chosen) PostMessageA(hwnd, WM_COMMAND, chosen, 0);
  return TRUE;
}
