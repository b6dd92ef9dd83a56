#include "app/repaint_commands.h"

#include "app/menu_state.h"
#include "audio/playback.h"
#include "shared/settings.h"
#include "shared/shortcut_marker.h"

namespace {

constexpr UINT kSlowRepaint = 116;
constexpr int32_t kFastIntervalMs = 10;

}  // namespace

void ToggleSlowRepaint(HWND mainWindow) {
  const bool slow = Settings.mainwindowinvailintervalvariable != kFastIntervalMs;
  // Keys "1" and "z" set the interval and restart timer 1.
  PostMessageA(mainWindow, WM_CHAR, slow ? '1' : 'z', ShortcutMarker);
  SetMark(MainPopup, kSlowRepaint, !slow);
  SetMark(SystemMenu, kSlowRepaint, !slow);
}
