// Where the windows come back at the next start: the program started as it starts (settings
// read, main window opened from them), closed as a user closes it (settings saved), and started
// again in the same folder.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "analysis/fft_window.h"
#include "main_window_rig.h"
#include "platform/user/window_info.h"
#include "spectrogram/sg_window.h"
#include "views/waveform_window.h"

namespace {

using main_window_rig::Checked;

class StartGeometryTest : public main_window_rig::MainWindowRig {
 protected:
  void StartFromSettings() {
    std::snprintf(SettingsPath, sizeof SettingsPath, "%s", ini_.c_str());
    LoadSettings(Settings, SettingsPath);
    Settings.processprioritylowonstartup = 0;  // the test process keeps its priority
    const std::string wav = dir_.Write("source.wav", test_support::CanonicalWav({}, main_window_rig::Bytes(400000, 0)));
    std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", wav.c_str());
    ASSERT_TRUE(MainClassRegistered());
    hwnd_ = OpenMainWindow(nullptr, SW_SHOWNORMAL);
    ASSERT_NE(hwnd_, nullptr);
    Pump();
  }
  // Closed by the user: the settings are written; the next start is a new process.
  void Close() {
    DestroyWindow(hwnd_);
    Pump();
    TearDown();
    SetUp();
  }
  // The main window, the FFT, spectrogram, vectorscope and waveform windows.
  static std::array<HWND, 5> Windows() {
    return {MainWindow, FftWindowHandle(), SgWindowHandle(), VectorscopeWindowHandle(), WaveformWindowHandle()};
  }
  static RECT Outer(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return rect;
  }

  const std::string ini_ = (dir_.path() / "morvex.ini").string();
};

// Without an earlier settings file, "do not save place and size this time" writes the remembered
// defaults, 0 by 0; the windows still come back as title bars a user can see and enlarge. With the
// choice undone, the sizes the user gives them come back at the next start.
TEST_F(StartGeometryTest, WindowsSavedWithoutTheirSizeComeBackVisibleAndKeepTheSizesGivenLater) {
  ASSERT_NO_FATAL_FAILURE(StartFromSettings());
  SystemCommand(65);
  SystemCommand(76);
  RightClickChoosing(123);
  ASSERT_EQ(Settings.withoutsavewindowsetting, 1);
  Close();
  const std::string saved = test_support::ReadFileBytes(ini_);
  for (const char* line : {"\r\nmainwindowwidth=0\r\n", "\r\nsgwindowheight=0\r\n", "\r\nvswindowwidth=0\r\n",
                           "\r\nwavwindowheight=0\r\n", "\r\nwithoutsavewindowsetting=1\r\n"}) {
    EXPECT_NE(saved.find(line), std::string::npos) << line;
  }

  ASSERT_NO_FATAL_FAILURE(StartFromSettings());
  RightClickChoosing(0);
  EXPECT_TRUE(Checked(123, MainPopup));
  std::vector<RECT> given;
  int x = 20;
  for (HWND hwnd : Windows()) {
    ASSERT_TRUE(hwnd && IsWindowVisible(hwnd));
    const RECT outer = Outer(hwnd);
    EXPECT_TRUE(outer.right - outer.left >= 136 && outer.bottom - outer.top >= 39 && outer.left > -1000)
        << outer.left << " " << outer.top << " " << outer.right << " " << outer.bottom;
    // The desktop's drag of the frame: the window takes the new size.
    const int width = 200 + x, height = 100 + x / 2;
    morvex::user::ClientAreaPlaced(hwnd, x + 8, 60, width, height);
    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_TRUE(client.right == width && client.bottom == height);
    given.push_back(Outer(hwnd));
    x += 90;
  }
  Pump();
  RightClickChoosing(123);
  ASSERT_EQ(Settings.withoutsavewindowsetting, 0);
  Close();

  ASSERT_NO_FATAL_FAILURE(StartFromSettings());
  for (size_t i = 0; i < given.size(); ++i) {
    const RECT outer = Outer(Windows()[i]), want = given[i];
    EXPECT_TRUE(outer.left == want.left && outer.top == want.top && outer.right == want.right && outer.bottom == want.bottom)
        << "window " << i << ": " << outer.left << " " << outer.top << " " << outer.right << " " << outer.bottom;
  }
}

}  // namespace
