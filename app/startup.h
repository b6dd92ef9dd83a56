// What start-up leaves for the rest of the program: where the settings live, how the windows
// are to be shown, which thread runs the message loop, and the main window.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

inline constexpr int kStartupPathBytes = 500;

extern char SettingsPath[kStartupPathBytes];
extern char ExeDerivedPath[kStartupPathBytes];
extern int StartShowMode;
extern DWORD MainThreadId;
extern HWND MainWindow;

// The main window's class name and title.
inline constexpr const char* kMainWindowClass = "morvex";
