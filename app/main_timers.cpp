#include "app/main_timers.h"

#include "audio/main_display.h"
#include "audio/playback.h"

void EnterIdlePriorityFor(HWND mainWindow, UINT periodMs) {
  SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
  SetTimer(mainWindow, kPriorityTimer, periodMs, nullptr);
}

void OnMainTimer(HWND mainWindow, UINT_PTR id) {
  if (id == kRepaintTimer) {
    OnStatusTimer();
  } else if (id == kResumeTimer) {
    OnResumeTimer(mainWindow);
  } else if (id == kPriorityTimer) {
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    KillTimer(mainWindow, kPriorityTimer);
  }
}
