// Reading and writing morvex.ini: the settings record filled at start-up and written back when the
// main window is destroyed.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "platform/win32.h"
#include "shared/settings.h"

// 1 once single-key shortcuts work: set by the settings load when `keyboardshortcut` is 1 and by
// the "-" key; nothing sets it back to 0. The key handling of the main window reads it.
extern std::atomic<int32_t> KeyboardShortcutsEnabled;

// One window as the save sees it at shutdown.
struct LiveWindow {
  bool exists = false;  // a window that was never created is saved with its current settings
  RECT rect{};          // GetWindowRect, screen coordinates
  int32_t clientWidth = 0;   // as last reported to the window's size handler
  int32_t clientHeight = 0;
};

// Everything of the running program that the save needs besides the settings themselves.
struct LiveGeometry {
  LiveWindow main;
  LiveWindow fft;
  LiveWindow sg;
  LiveWindow vs;
  LiveWindow wav;
  int32_t fullScreenClientWidth = 0;   // SM_CXFULLSCREEN: a client this size is a maximized window
  int32_t fullScreenClientHeight = 0;  // SM_CYFULLSCREEN
  int32_t channels = 0;                // channel count of the file (not of the live input)
};

// Reads the settings file into `settings`. A file that cannot be opened leaves every value as it
// is; unknown keys are ignored; values the program cannot run with are replaced by their
// defaults. `wfkind` marks the window table for rebuilding, `keyboardshortcut` 1 switches the
// shortcuts on.
void LoadSettings(SettingsRecord& settings, const char* path);

// The settings file's text: CR LF line ends, none after the last line.
std::string FormatSettings(const SettingsRecord& settings, const LiveGeometry& live);

// Replaces the settings file with FormatSettings' text: a temporary file beside it, then a rename
// (keeping the file's permissions), so the old file survives a failed write. A symbolic link is
// followed and its target replaced; where no temporary file can be made (a read-only folder), a
// writable file is rewritten in place; a read-only file is left as it is. Returns false,
// silently, when it cannot be written.
bool SaveSettings(const SettingsRecord& settings, const char* path, const LiveGeometry& live);
