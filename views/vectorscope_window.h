// The vectorscope window ("vectorscope", class "vs"), made for two-channel sources only: its
// size state and its right-click popup ("vscscp sample" counts and "lineにする"). Its close
// button, key characters and popup commands go to the main window, whose handlers own them.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"
#include "views/view_window.h"

// The main window's command that shows and hides the view; the close button posts it.
inline constexpr UINT kVectorscopeCommand = 65;

// The client size the size handler last stored.
extern std::atomic<int32_t> VsClientWidth;
extern std::atomic<int32_t> VsClientHeight;
// Set by the size handler and the sample-count commands: the thread recomputes its scales.
extern std::atomic<int32_t> VsParamsChanged;
// Set by the size handler: the thread makes a bitmap of the new size (dynamic surfaces only).
extern std::atomic<int32_t> VsResized;
// 1 (the default): points joined by lines; 0: single pixels. Command 73 toggles it.
extern std::atomic<int32_t> VsLineMode;
// Key v: the count of the waits for the last frame, shown in the window's corner.
extern std::atomic<int32_t> VsShowWaits;

// The window, its surface and popup.
extern ViewWindowRecord VectorscopeView;

// Main window creation, for two-channel sources: the window at the settings' place and size,
// shown unless `vswindowstop` is 1. Commands and keys go to `mainWindow`.
HWND CreateVectorscopeWindow(HWND mainWindow);
// Main window destruction, once no vectorscope thread runs.
void DestroyVectorscopeWindow();
// Null without the window.
HWND VectorscopeWindowHandle();
// Command 65's work besides its check mark (see SwitchViewWindow).
void SwitchVectorscopeView(bool on);

LRESULT CALLBACK VectorscopeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
