// Moving, sizing and showing windows, with the notifications a window procedure expects.
#pragma once

#include "platform/user/window_state.h"

namespace morvex::user {

// Calls the window procedure directly (a sent message); 0 for a window that does not exist.
LRESULT CallWindow(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

// Gives the window a new outer rectangle (a top-level window's in the normal state at least the
// minimum tracking size) and show state, resizes its client surface and sends
// WM_SIZE (when the client size or show state changed, or `forceNotify`) and WM_MOVE (when the
// client origin moved, or `forceNotify`). Called on the user-interface thread.
void SetWindowPlacement(HWND hwnd, const RECT& rect, ShowState state, bool repaint, bool forceNotify);

}  // namespace morvex::user
