// The vectorscope and waveform windows as the main window creates them: what they pass on to the
// main window, their popups' marks, and their threads drawing into them while a source runs.
#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "analysis/spectrum_view_samples.h"
#include "app/settings.h"
#include "audio/sample_store.h"
#include "audio/view_threads.h"
#include "platform/win32.h"
#include "support/picture.h"
#include "support/view_window_rig.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace {

using test_support::kBlack;
using test_support::kWhite;
using test_support::Posted;

class ViewWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings.~SettingsRecord();
    new (&Settings) SettingsRecord();
    SampleStore.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    SampleStore.fullScale = 65536;
    playflag = 0;
    ViewSamplesReady = 0;
    VsLineMode = 1;
    main = test_support::CreateStandInMainWindow();
    ASSERT_NE(main, nullptr);
  }

  void TearDown() override {
    playflag = 0;
    EXPECT_TRUE(WaitForViewThreadEnd(ViewKind::Vectorscope, 5000));
    EXPECT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 5000));
    DestroyVectorscopeWindow();
    DestroyWaveformWindow();
    DestroyWindow(main);
    TakePosted();
  }

  std::vector<Posted> TakePosted() { return test_support::TakePosted(main); }

  // Waits for a view thread to have drawn `pixel` at (x, y) of `hwnd`'s client area.
  static bool WaitForPixel(HWND hwnd, int x, int y, COLORREF pixel) {
    const HDC dc = GetDC(hwnd);
    bool seen = false;
    for (int i = 0; i < 2500 && !seen; ++i) {
      seen = GetPixel(dc, x, y) == pixel;
      if (!seen) Sleep(2);
    }
    ReleaseDC(hwnd, dc);
    return seen;
  }

  // Whether the rectangle from (0, 0) to (w, h) of `hwnd` holds black; with `wait`, until it does.
  static bool HasInk(HWND hwnd, int w, int h, bool wait) {
    const HDC dc = GetDC(hwnd);
    bool seen = false;
    for (int i = 0; i < (wait ? 2500 : 1) && !seen; ++i) {
      for (int y = 0; y < h && !seen; ++y) {
        for (int x = 0; x < w && !seen; ++x) seen = GetPixel(dc, x, y) == kBlack;
      }
      if (!seen && wait) Sleep(2);
    }
    ReleaseDC(hwnd, dc);
    return seen;
  }

  static bool Checked(HMENU menu, UINT id) { return (GetMenuState(menu, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }

  HWND main = nullptr;
};

TEST_F(ViewWindows, CommandsKeysAndTheCloseButtonGoToTheMainWindow) {
  struct View {
    HWND hwnd;
    const char* className;
    const char* title;
    UINT firstCommand, lastCommand, closeCommand;
  };
  const View views[] = {
      {CreateVectorscopeWindow(main), "vs", "vectorscope", 66, 73, 65},
      {CreateWaveformWindow(main), "wav", "wav window", 77, 82, 76},
  };
  for (const View& view : views) {
    SCOPED_TRACE(view.title);
    ASSERT_NE(view.hwnd, nullptr);
    char text[32] = {};
    GetWindowTextA(view.hwnd, text, sizeof text);
    EXPECT_STREQ(text, view.title);
    EXPECT_FALSE(IsWindowVisible(view.hwnd));  // hidden by the default stop flags
    TakePosted();
    std::vector<Posted> expected;
    for (UINT id = view.firstCommand - 1; id <= view.lastCommand + 1; ++id) {
      SendMessageA(view.hwnd, WM_COMMAND, id, 0);
      if (id >= view.firstCommand && id <= view.lastCommand) expected.push_back({WM_SYSCOMMAND, id, 0});
    }
    SendMessageA(view.hwnd, WM_CHAR, 'v', 5252);
    expected.push_back({WM_CHAR, 'v', 5252});
    SendMessageA(view.hwnd, WM_CLOSE, 0, 0);
    expected.push_back({WM_SYSCOMMAND, view.closeCommand, 0});
    EXPECT_EQ(TakePosted(), expected);
    EXPECT_TRUE(IsWindow(view.hwnd));  // closing only asks the main window
  }
}

TEST_F(ViewWindows, PopupMarksFollowTheSettings) {
  const HWND vs = CreateVectorscopeWindow(main);
  const HMENU vsPopup = VectorscopeView.popup;
  const auto rightClick = [](HWND hwnd) { SendMessageA(hwnd, WM_RBUTTONUP, 0, MAKELPARAM(5, 5)); };
  Settings.vecscpsample = 2000;
  rightClick(vs);
  EXPECT_TRUE(Checked(vsPopup, 71));
  EXPECT_TRUE(Checked(vsPopup, 73));
  Settings.vecscpsample = 200;
  VsLineMode = 0;
  rightClick(vs);
  EXPECT_FALSE(Checked(vsPopup, 71));
  EXPECT_TRUE(Checked(vsPopup, 66));
  EXPECT_FALSE(Checked(vsPopup, 73));
  Settings.vecscpsample = 250;  // no item offers it
  rightClick(vs);
  for (UINT id = 66; id <= 72; ++id) EXPECT_FALSE(Checked(vsPopup, id)) << id;

  const HWND wav = CreateWaveformWindow(main);
  const HMENU wavPopup = WaveformView.popup;
  Settings.wavwindowsleeptime = 10;
  rightClick(wav);
  EXPECT_TRUE(Checked(wavPopup, 79));
  EXPECT_FALSE(Checked(wavPopup, 82));
  Settings.wavwindowsleeptime = 7;  // no item offers it: the marks stay
  Settings.wavgphffts = 1;
  rightClick(wav);
  EXPECT_TRUE(Checked(wavPopup, 79));
  EXPECT_TRUE(Checked(wavPopup, 82));
  Settings.wavwindowsleeptime = 50;
  rightClick(wav);
  EXPECT_FALSE(Checked(wavPopup, 79));
  EXPECT_TRUE(Checked(wavPopup, 81));
}

// The vectorscope thread draws each new frame at the window's size; a resize moves the picture,
// with a new client-sized bitmap only for dynamic surfaces.
TEST_F(ViewWindows, VectorscopeThreadFollowsFramesAndResizes) {
  for (const int32_t dynamic : {0, 1}) {
    SCOPED_TRACE(testing::Message() << "virtualscreendynamicmemaloc " << dynamic);
    SetUp();
    Settings.virtualscreendynamicmemaloc = dynamic;
    const HWND vs = CreateVectorscopeWindow(main);
    for (int32_t i = 0; i < kViewSampleRoom; ++i) {
      ViewLeft[i] = 0;
      ViewRight[i] = 32767;  // every point on the last column, centre row
    }
    VsLineMode = 0;  // lines between equal points have no pixels
    playflag = 1;
    ViewSamplesReady = 1;
    SwitchVectorscopeView(true);
    EXPECT_EQ(Settings.vswindowstop, 0);
    EXPECT_TRUE(IsWindowVisible(vs));
    const int32_t width = VsClientWidth;
    const int32_t height = VsClientHeight;
    ASSERT_TRUE(WaitForPixel(vs, width - 1, height / 2, kBlack));
    const HBITMAP before = VectorscopeView.surface.bitmap;
    // Key v: the wait count in the top-left corner, where the picture itself is white.
    EXPECT_FALSE(HasInk(vs, 30, 10, false));
    VsShowWaits = 1;
    ViewSamplesReady = 1;
    EXPECT_TRUE(HasInk(vs, 30, 10, true));
    VsShowWaits = 0;

    RECT outer{};
    GetWindowRect(vs, &outer);
    MoveWindow(vs, outer.left, outer.top, outer.right - outer.left + 40, outer.bottom - outer.top + 20, TRUE);
    ASSERT_EQ(VsClientWidth, width + 40);
    ViewSamplesReady = 1;
    ASSERT_TRUE(WaitForPixel(vs, width + 39, (height + 20) / 2, kBlack));
    EXPECT_TRUE(WaitForPixel(vs, width - 1, height / 2, kWhite));
    EXPECT_EQ(VectorscopeView.surface.bitmap.load() != before, dynamic == 1);

    SwitchVectorscopeView(false);
    EXPECT_FALSE(IsWindowVisible(vs));
    ViewSamplesReady = 1;  // the thread notices at its next frame
    EXPECT_TRUE(WaitForViewThreadEnd(ViewKind::Vectorscope, 5000));
    TearDown();
  }
}

TEST_F(ViewWindows, WaveformThreadDrawsTheFirstChannelUntilSwitchedOff) {
  Settings.wavwindowheight = 160 + 40;
  const HWND wav = CreateWaveformWindow(main);
  for (int32_t i = 0; i < kViewSampleRoom; ++i) ViewLeft[i] = 16384;  // a quarter of the client up
  playflag = 1;
  SwitchWaveformView(true);
  const int32_t height = WavClientHeight;
  ASSERT_TRUE(WaitForPixel(wav, 10, height / 2 - height / 4, kBlack));
  EXPECT_TRUE(WaitForPixel(wav, 10, height / 2, kWhite));
  SwitchWaveformView(false);
  EXPECT_EQ(Settings.wavwindowstop, 1);
  EXPECT_TRUE(WaitForViewThreadEnd(ViewKind::Waveform, 5000));
  EXPECT_EQ(playflag, 1);  // the source runs on
}

}  // namespace
