// The program's entry point: the file name from the argument string, the settings path, the
// settings, the main window and the one message loop.
#include <cstring>
#include <string>

#include "app/main_window.h"
#include "app/settings_file.h"
#include "app/settings_location.h"
#include "app/settings_path.h"
#include "app/startup.h"
#include "platform/win32.h"
#include "shared/sample_store.h"

namespace {

// Copies into a start-up buffer; a longer text is cut so that it always fits with its zero.
void CopyBounded(char* destination, const std::string& text) {
  const size_t count = text.size() < kStartupPathBytes ? text.size() : kStartupPathBytes - 1;
  std::memcpy(destination, text.data(), count);
  destination[count] = '\0';
}

void DeriveSettingsLocation() {
  char currentDirectory[kStartupPathBytes] = {};
  const DWORD length = GetCurrentDirectoryA(kStartupPathBytes, currentDirectory);
  if (length == 0 || length >= kStartupPathBytes) currentDirectory[0] = '\0';
  char moduleName[kStartupPathBytes] = {};
  GetModuleFileNameA(nullptr, moduleName, kStartupPathBytes);
  const SettingsPathResult derived =
      DeriveSettingsPath(GetCommandLineA(), currentDirectory, moduleName, SampleStore.WavFileName[0] == '\0');
  CopyBounded(ExeDerivedPath, derived.exeDerivedPath);
  CopyBounded(SettingsPath, SettingsPathForThisUser(derived.settingsPath, moduleName));
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE prevInstance, LPSTR cmdLine, int showCmd) {
  if (prevInstance != nullptr) {
    MessageBoxA(nullptr, "morvex beta\nusage:morvex.exe wavfile\nthis is not implement for win3.1 or older.", "", MB_OK);
    return -1;
  }
  CopyBounded(SampleStore.WavFileName, cmdLine ? cmdLine : "");
  DeriveSettingsLocation();
  // An empty path (one too long for its buffer) means the program runs on its defaults.
  if (SettingsPath[0] != '\0') LoadSettings(Settings, SettingsPath);

  if (!RegisterMainWindowClass(instance)) {
    MessageBoxA(nullptr, "", "'ap windowclass'register class failed.", MB_OK);
    return 0;
  }
  if (!OpenMainWindow(instance, showCmd)) return 1;
  MainThreadId = GetCurrentThreadId();

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return static_cast<int>(msg.wParam);
}
