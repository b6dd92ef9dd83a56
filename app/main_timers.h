// The main window's timers: 1 repaints the status display while a source runs, 2 resumes
// playback after a jump, 4 puts the process priority back to normal after a quiet start or after
// a view was shown.
#pragma once

#include "platform/win32.h"

inline constexpr UINT_PTR kPriorityTimer = 4;

// Sets the idle priority class and starts timer 4 with `periodMs`.
void EnterIdlePriorityFor(HWND mainWindow, UINT periodMs);

// WM_TIMER of the main window; other ids are ignored.
void OnMainTimer(HWND mainWindow, UINT_PTR id);
