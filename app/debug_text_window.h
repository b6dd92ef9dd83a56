// The "debug" window: a multi-line edit control that shows a block of text (the spectrum as
// text). Created the first time text is shown; closing it ends the message loop at once, so the
// program ends without writing its settings.
#pragma once

#include <cstdint>

#include "platform/win32.h"

inline constexpr int32_t kDebugTextBytes = 30000;

// The text as the edit control gets it, with CR LF line ends, and its length counting the
// terminating zero (1 for the empty text).
extern char DebugTextBuffer[kDebugTextBytes];
extern int32_t DebugTextLength;
// Null until the window exists (and again once it is closed).
extern HWND DebugEditControl;
extern HWND DebugWindow;

// Empties the text; the window is left as it is. Returns the edit control.
HWND DebugTextClear();
// Creates the window when needed, appends `text` with every line feed preceded by a carriage
// return, and shows the whole text. Text that does not fit in the buffer is cut, never a line
// feed from its carriage return. Returns the edit control.
HWND DebugTextAppend(const char* text);
