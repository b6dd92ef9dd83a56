#include "app/main_window_geometry.h"

#include "app/startup.h"
#include "audio/sample_store.h"

namespace {

int mainClientWidth = 0;
int mainClientHeight = 0;

LiveWindow Describe(HWND hwnd, int clientWidth, int clientHeight) {
  LiveWindow live;
  live.exists = hwnd != nullptr && GetWindowRect(hwnd, &live.rect);
  live.clientWidth = clientWidth;
  live.clientHeight = clientHeight;
  return live;
}

}  // namespace

void RememberMainClientSize(int width, int height) {
  mainClientWidth = width;
  mainClientHeight = height;
}

LiveGeometry GatherLiveGeometry() {
  LiveGeometry geometry;
  geometry.main = Describe(MainWindow, mainClientWidth, mainClientHeight);
  geometry.fullScreenClientWidth = GetSystemMetrics(SM_CXFULLSCREEN);
  geometry.fullScreenClientHeight = GetSystemMetrics(SM_CYFULLSCREEN);
  geometry.channels = SampleStore.format.nChannels;
  return geometry;
}
