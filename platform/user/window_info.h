// What a display backend reads of a window to show it, and how it hands input back: as
// messages on the user-interface thread, in the order they happened.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "platform/gdi/surface.h"
#include "platform/win32/user.h"

namespace morvex::user {

struct WindowInfo {
  std::string className;
  std::string text;  // title, or an edit control's contents
  HWND parent = nullptr;
  RECT rect{};  // outer rectangle (screen coordinates; parent client coordinates for children)
  int clientWidth = 0;
  int clientHeight = 0;
  bool visible = false;
  bool minimized = false;
  bool maximized = false;
  int iconResource = 0;  // 0 when the window has no icon of the program's own
  std::shared_ptr<gdi::Surface> surface;
};

std::optional<WindowInfo> DescribeWindow(HWND hwnd);

// Input, called by the display on the user-interface thread.
void PostKeyDown(HWND hwnd, UINT virtualKey, uint32_t character);
void PostMouse(HWND hwnd, UINT message, int clientX, int clientY, WPARAM keys);
// The title bar's close button: WM_SYSCOMMAND with SC_CLOSE, unless the close item is grey.
void PressCloseButton(HWND hwnd);
// The desktop moved or resized the window: its client area now lies at this screen rectangle.
void ClientAreaPlaced(HWND hwnd, int screenX, int screenY, int width, int height);
void FocusLost(HWND hwnd);
void ApplicationActivated(bool active);

// Asks the first top-level window the program created (its main window) to close, as its
// close button does. Safe to call from any thread. False when there is no such window or its
// creation handler has not returned yet: nobody would handle the request.
bool RequestMainWindowClose();

}  // namespace morvex::user
