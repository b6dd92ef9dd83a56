// The vectorscope and waveform windows as the main window creates them: their popups' marks and
// their threads drawing into them while a source runs.
#include <gtest/gtest.h>

#include <new>
#include <set>
#include <vector>

#include "analysis/spectrum_view_samples.h"
#include "app/settings.h"
#include "audio/sample_store.h"
#include "audio/view_threads.h"
#include "support/picture.h"
#include "support/view_window_rig.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace {

using test_support::kBlack;
using test_support::kWhite;

class ViewWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    Settings.~SettingsRecord();
    new (&Settings) SettingsRecord();
    SampleStore.format = WAVEFORMATEX{WAVE_FORMAT_PCM, 2, 44100, 176400, 4, 16, 0};
    SampleStore.fullScale = 65536;
    playflag = ViewSamplesReady = 0;
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
    test_support::TakePosted(main);
  }
  // Waits for a view thread to have drawn so that `seen` holds for the window's client area.
  template <typename Seen>
  static bool WaitFor(HWND hwnd, Seen seen) {
    const HDC dc = GetDC(hwnd);
    bool done = seen(dc);
    for (int i = 0; i < 2500 && !done; ++i) {
      Sleep(2);
      done = seen(dc);
    }
    ReleaseDC(hwnd, dc);
    return done;
  }
  static bool WaitForPixel(HWND hwnd, int x, int y, COLORREF pixel) {
    return WaitFor(hwnd, [=](HDC dc) { return GetPixel(dc, x, y) == pixel; });
  }
  HWND main = nullptr;
};

TEST_F(ViewWindows, PopupMarksFollowTheSettingsAtEachRightClick) {
  const HWND vs = CreateVectorscopeWindow(main);
  const HWND wav = CreateWaveformWindow(main);
  struct Case {
    bool waveform;
    std::atomic<int32_t>* setting;
    int32_t value;
    std::set<UINT> checked;  // among the window's items
  };
  const Case cases[] = {
      {false, &Settings.vecscpsample, 2000, {71, 73}}, {false, &VsLineMode, 0, {71}},
      {false, &Settings.vecscpsample, 200, {66}},      {false, &Settings.vecscpsample, 250, {}},  // no item offers it
      {true, &Settings.wavwindowsleeptime, 10, {79}},  {true, &Settings.wavgphffts, 1, {79, 82}},
      {true, &Settings.wavwindowsleeptime, 7, {79, 82}},  // no item offers it: the marks stay
      {true, &Settings.wavwindowsleeptime, 50, {81, 82}},
  };
  for (const Case& c : cases) {
    *c.setting = c.value;
    SendMessageA(c.waveform ? wav : vs, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
    const HMENU popup = c.waveform ? WaveformView.popup : VectorscopeView.popup;
    EXPECT_EQ(test_support::CheckedItems(popup), c.checked) << c.value;
  }
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
    playflag = ViewSamplesReady = 1;
    SwitchVectorscopeView(true);
    EXPECT_EQ(Settings.vswindowstop, 0);
    EXPECT_TRUE(IsWindowVisible(vs));
    const int32_t width = VsClientWidth;
    const int32_t height = VsClientHeight;
    ASSERT_TRUE(WaitForPixel(vs, width - 1, height / 2, kBlack));
    const HBITMAP before = VectorscopeView.surface.bitmap;
    // Key v: the wait count in the top-left corner, where the picture itself is white.
    const HDC dc = GetDC(vs);
    EXPECT_EQ(test_support::InkIn(dc, 0, 0, 30, 10), 0);
    ReleaseDC(vs, dc);
    VsShowWaits = ViewSamplesReady = 1;
    EXPECT_TRUE(WaitFor(vs, [](HDC dc) { return test_support::InkIn(dc, 0, 0, 30, 10) > 0; }));
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
