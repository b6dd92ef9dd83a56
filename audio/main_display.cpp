#include "audio/main_display.h"

#include "analysis/screen_surface.h"
#include "audio/playback.h"
#include "shared/sample_store.h"
#include "shared/view_threads.h"

std::atomic<int32_t> statusEnabled{0};
std::atomic<int32_t> statusText{1};
std::atomic<HFONT> TextFont{nullptr};
std::atomic<int32_t> DefaultLineHeight{0};
std::atomic<int32_t> TextLineHeight{0};

namespace {

constexpr UINT kVectorscopeCommand = 65;
// How long destruction waits for the level meter thread to notice the stop: it looks every 5 ms.
constexpr DWORD kLevelThreadEndWaitMs = 1000;

// Set at creation on the main window's thread, before any view thread starts; the level meter
// thread reads them.
std::atomic<HWND> displayWindow{nullptr};
std::atomic<HDC> offscreen{nullptr};
std::atomic<SettingsRecord*> displaySettings{nullptr};
// Main window thread only.
HBITMAP offscreenBitmap = nullptr;
int32_t surfaceWidth = 0;
int32_t surfaceHeight = 0;
ClientSize clientSize{0, 0};

int32_t LineHeight(HDC dc) {
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  return metrics.tmHeight + metrics.tmExternalLeading;
}

}  // namespace

void CreateMainDisplay(HWND mainWindow, SettingsRecord& settings) {
  const HDC windowDc = GetDC(mainWindow);
  TEXTMETRICA metrics{};
  GetTextMetricsA(windowDc, &metrics);
  DefaultLineHeight = metrics.tmHeight + metrics.tmExternalLeading;
  const HFONT font = CreateTextFont(windowDc);

  surfaceWidth = GetSystemMetrics(SM_CXSCREEN);
  surfaceHeight = GetSystemMetrics(SM_CYSCREEN);
  const HDC memory = CreateCompatibleDC(windowDc);
  offscreenBitmap = CreateCompatibleBitmap(windowDc, surfaceWidth, surfaceHeight);
  ReleaseDC(mainWindow, windowDc);
  SelectObject(memory, offscreenBitmap);
  SelectObject(memory, font);
  TextLineHeight = LineHeight(memory);

  TextFont = font;
  offscreen = memory;
  displayWindow = mainWindow;
  displaySettings = &settings;
  ClearMainOffscreen();
}

void DestroyMainDisplay() {
  // A level meter thread that has not ended keeps drawing into the surface; it then stays until
  // the process ends rather than be freed under the thread.
  if (!WaitForViewThreadEnd(ViewKind::LevelMeter, kLevelThreadEndWaitMs)) return;
  const HDC memory = offscreen.exchange(nullptr);
  displayWindow = nullptr;
  displaySettings = nullptr;
  if (memory) DeleteDC(memory);
  if (offscreenBitmap) DeleteObject(offscreenBitmap);
  offscreenBitmap = nullptr;
  if (const HFONT font = TextFont.exchange(nullptr)) DeleteObject(font);
}

HWND MainDisplayWindow() { return displayWindow; }
HDC MainOffscreen() { return offscreen; }
const SettingsRecord* MainDisplaySettings() { return displaySettings; }

void ClearMainOffscreen() {
  // The default white brush fills it; the black pen's outline falls outside the surface.
  Rectangle(offscreen, -1, -1, surfaceWidth + 1, surfaceHeight + 1);
}

ClientSize MainClientSize() { return clientSize; }

void OnSize(int32_t width, int32_t height) {
  clientSize = {width, height};
  if (SampleStore.fileChannels == 1) {
    EnableMenuItem(GetSystemMenu(displayWindow, FALSE), kVectorscopeCommand, MF_BYCOMMAND | MF_GRAYED);
  }
  // Any resize puts playback back at the file's own rate from the next start on.
  if (SettingsRecord* settings = displaySettings) settings->playfreqoptional = SampleStore.fileRate;
}

void OnStatusTimer() {
  if (playflag != 0) {
    InvalidateRect(displayWindow, nullptr, FALSE);
  } else {
    KillTimer(displayWindow, kRepaintTimer);
  }
}

