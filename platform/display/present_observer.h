// A way for a measuring tool to watch what reaches the screen: called on the user-interface
// thread each time a window's picture has been copied for the screen, with the window's client
// surface (0xFFRRGGBB pixels, row by row, locked for the call) and the rectangles copied. None is
// installed normally; the display then only reads one pointer per picture.
#pragma once

#include "platform/win32/types.h"

namespace morvex::display {

using PresentObserver = void (*)(HWND hwnd, const uint32_t* pixels, int width, int height, const RECT* copied,
                                 int count);

// Any thread; null removes it.
void SetPresentObserver(PresentObserver observer);
PresentObserver CurrentPresentObserver();

}  // namespace morvex::display
