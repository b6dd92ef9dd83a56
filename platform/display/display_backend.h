// What the window layer needs from a display: showing windows and their pixels, input, modal
// dialogs and menus, the screen size, and a way to wait for events without spinning. The
// in-memory backend serves machines without a display and the tests; the Qt backend a desktop.
#pragma once

#include <chrono>
#include <optional>

#include "platform/win32/user.h"

namespace morvex::display {

using Clock = std::chrono::steady_clock;

struct ScreenSize {
  int width;
  int height;
};

class DisplayBackend {
 public:
  virtual ~DisplayBackend() = default;

  // User-interface thread: handles pending display events (input becomes posted messages
  // through platform/user/input.h), waiting until `until` (forever when empty) or until wake().
  // A deadline in the past only polls.
  virtual void processEvents(std::optional<Clock::time_point> until) = 0;
  // Any thread: makes a running or the next processEvents return promptly.
  virtual void wake() = 0;

  // User-interface thread: a window appeared, disappeared, or changed its title, geometry,
  // visibility or icon (the backend reads the current state through platform/user/window_info.h).
  virtual void windowCreated(HWND hwnd) = 0;
  virtual void windowDestroyed(HWND hwnd) = 0;
  virtual void windowChanged(HWND hwnd) = 0;
  // Any thread: the window's client surface holds new pixels.
  virtual void surfaceChanged(HWND hwnd) = 0;
  virtual void setForeground(HWND hwnd) = 0;

  // User-interface thread, modal.
  virtual int messageBox(const char* text, const char* caption, UINT type) = 0;
  virtual bool openFileName(OPENFILENAMEA* ofn) = 0;
  // Shows the menu at a screen point; returns the chosen item's id, 0 when nothing was chosen.
  virtual UINT trackPopupMenu(HMENU menu, int x, int y, HWND owner) = 0;

  virtual ScreenSize screenSize() = 0;
  // The client area of a maximized window (SM_CXFULLSCREEN, SM_CYFULLSCREEN).
  virtual ScreenSize fullScreenClientSize() = 0;
};

// The backend in use; chosen at the first use (a display when DISPLAY or WAYLAND_DISPLAY is set
// and a desktop backend is built in, else the in-memory one) unless one was installed before.
DisplayBackend& Backend();
// Installs a backend before any window exists (tests, the entry point). Takes ownership.
void InstallBackend(DisplayBackend* backend);

}  // namespace morvex::display
