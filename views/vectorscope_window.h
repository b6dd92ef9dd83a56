// The vectorscope window ("vectorscope", class "vs"), made for two-channel sources only: its
// size state, its right-click popup, and the switch that shows it with a running thread or hides
// it. Its close button, key characters and popup commands go to the main window, whose handlers
// own them.
//
// Everything here runs on the user-interface thread except the reads of the state and the
// accessors, which the vectorscope thread uses.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

inline constexpr const char* kVectorscopeClass = "vs";
// The main window's command that shows and hides the view; the close button posts it.
inline constexpr UINT kVectorscopeCommand = 65;
// Popup commands passed on as system commands: the sample counts (66 to 72) and line mode (73).
inline constexpr UINT kVsFirstSampleCommand = 66;
inline constexpr UINT kVsLineCommand = 73;

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

// Main window creation, for two-channel sources: the window at the settings' place and size,
// its off-screen surface (screen-sized when `virtualscreendynamicmemaloc` is 0), shown unless
// `vswindowstop` is 1. Commands and keys go to `mainWindow`.
HWND CreateVectorscopeWindow(HWND mainWindow);
// Main window destruction, once no vectorscope thread runs.
void DestroyVectorscopeWindow();

// Null without the window.
HWND VectorscopeWindowHandle();
// The surface as a record, for the thread's resizes.
// The right-click popup (null without the window); only its check marks change.
HMENU VectorscopePopup();
struct ViewSurface;
ViewSurface& VectorscopeSurfaceRecord();

// Command 65's work besides its check mark: on, `vswindowstop` 0, a new thread, the window
// shown; off, `vswindowstop` 1 (the thread ends by itself) and the window hidden.
void SwitchVectorscopeView(bool on);

LRESULT CALLBACK VectorscopeWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
