// What the vectorscope and waveform windows share: their class, registered once per process; the
// window at the place and size of the settings with its off-screen surface and popup; the switch
// that shows it with a new thread or hides it; and the messages both handle alike (key
// characters, the close button and the popup's commands passed on to the main window).
//
// Everything here runs on the user-interface thread, except the reads of `window` and `surface`
// by the view's thread.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "shared/view_threads.h"
#include "views/view_menu.h"
#include "views/view_surface.h"

struct ViewWindowRecord {
  const char* className;
  const char* title;
  WNDPROC procedure;
  ViewKind kind;
  std::atomic<int32_t>* stop;  // the view's stop setting: 1 hides the window and ends its thread
  UINT switchCommand;          // the main window's command that shows and hides the view
  const ViewPopupLayout* popupLayout;
  // The view's size state: the client size the size handler stores, and the flags that tell the
  // thread to recompute its scales and to make a bitmap of the new size.
  std::atomic<int32_t>* clientWidth;
  std::atomic<int32_t>* clientHeight;
  std::atomic<int32_t>* paramsChanged;
  std::atomic<int32_t>* resized;

  bool registered = false;
  std::atomic<HWND> window{nullptr};
  ViewSurface surface{};
  HWND mainWindow = nullptr;
  HMENU popupBar = nullptr;
  HMENU popup = nullptr;
  UINT markedItem = 0;  // the popup's value item marked last
};

struct ViewWindowPlace {
  int x;
  int y;
  int width;
  int height;
};

// Registers the class when it is not yet (a second try after a failure; a class that cannot be
// registered, or a missing module handle, ends the process with code 1 and the system's
// messages), creates the window at `place`, greys its close command when
// `sgfftclosebuttondisable` is 1, makes its surface (screen-sized when
// `virtualscreendynamicmemaloc` is 0) and shows it unless the view is stopped.
HWND CreateViewWindow(ViewWindowRecord& view, HWND mainWindow, const ViewWindowPlace& place);
// Main window destruction, once no thread of the view runs.
void DestroyViewWindow(ViewWindowRecord& view);

// On: the stop setting 0, a new thread, the window shown. Off: the stop setting 1 (the thread
// ends by itself) and the window hidden.
void SwitchViewWindow(ViewWindowRecord& view, bool on);

// Shows the popup at the client point that `lParam` carries (a right button release).
void TrackViewPopup(const ViewWindowRecord& view, LPARAM lParam);

// The message handling the two views share (all but the popup's marks), the default handling
// included.
LRESULT HandleViewMessage(ViewWindowRecord& view, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
