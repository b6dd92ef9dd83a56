// What the vectorscope and waveform windows share: their class, registered once per process; the
// window at the place and size of the settings; and the messages both handle alike (key
// characters and the close button passed on to the main window, the popup at the click point).
#pragma once

#include "platform/win32.h"

struct ViewWindowClass {
  const char* name;
  WNDPROC procedure;
  bool registered = false;
};

struct ViewWindowPlace {
  int x;
  int y;
  int width;
  int height;
};

// Registers `cls` when it is not yet (a second try after a failure; a class that cannot be
// registered, or a missing module handle, ends the process with code 1 and the system's
// messages), then creates the window titled `title` at `place`, updates it, and greys its close
// command when `sgfftclosebuttondisable` is 1.
HWND CreateViewWindow(ViewWindowClass& cls, const char* title, const ViewWindowPlace& place);

// The message handling the two views share; false for messages the view handles itself.
// `closeCommand` is the system command the close button posts to `mainWindow`.
bool HandleSharedViewMessage(HWND hwnd, HWND mainWindow, UINT closeCommand, UINT msg, WPARAM wParam, LPARAM lParam);

// Shows `popup` at the client point that `lParam` carries (a right button release).
void TrackViewPopup(HWND hwnd, HMENU popup, LPARAM lParam);
