// The spectrogram window as the main window makes it: its cursor readout and a tone's picture.
#include <gtest/gtest.h>

#include <cmath>

#include "audio/view_threads.h"
#include "main_window_rig.h"
#include "spectrogram/sg_cycle.h"
#include "spectrogram/sg_surfaces.h"
#include "spectrogram/sg_window.h"
#include "support/picture.h"

namespace {

using test_support::kWhite;

using ViewWindowsTest = main_window_rig::MainWindowRig;

TEST_F(ViewWindowsTest, SpectrogramWindowShowsTheCursorFrequencyWhileStopped) {
  Start();
  const HWND sg = SgWindowHandle();
  Posted('s');  // no thread takes the requests from here on
  ASSERT_TRUE(RunUntil([] { return ViewThreadsAlive(ViewKind::Spectrogram) == 0; }));
  RECT client{};
  GetClientRect(sg, &client);
  const int width = client.right, height = client.bottom;
  const HDC window = GetDC(sg);
  // The cursor frequency, white on black at the bottom right, on a logarithmic axis only, while
  // the picture is at rest (no clear pending).
  Settings.sgmousecurhzdis = 1;
  SgControl.clearRequest = 0;
  for (const int32_t sgliner : {0, 1}) {
    Settings.sgliner = sgliner;
    Rectangle(window, -1, -1, width + 1, height + 1);
    SendMessageA(sg, WM_MOUSEMOVE, 0, MAKELPARAM(10, height / 2));
    EXPECT_EQ(SgControl.cursorRow, height / 2);
    EXPECT_EQ(test_support::InkIn(window, width - 60, height - 14, width, height) > 0, sgliner == 0) << sgliner;
  }
  ReleaseDC(sg, window);
}

TEST_F(ViewWindowsTest, AToneBecomesALineOfSpectrogramColumnsAtItsRow) {
  Settings.sgcolor = 0;  // grey: the strongest magnitude is the darkest pixel
  WindowRebuild = 1;     // as the process starts
  // 1 kHz in 16-bit stereo at 44100 Hz: bin 46.4 of a 2048-point transform.
  main_window_rig::Bytes tone;
  for (int f = 0; f < 2 * 8 * 44100; ++f) {
    const auto sample = static_cast<uint16_t>(static_cast<int16_t>(10000 * std::sin(2 * M_PI * 1000 * (f / 2) / 44100)));
    tone.insert(tone.end(), {static_cast<uint8_t>(sample), static_cast<uint8_t>(sample >> 8)});
  }
  Start(tone, test_support::FmtFields{});
  ASSERT_TRUE(RunUntil([] { return SgControl.column >= 60; }));
  Post(WM_CHAR, 'u', ShortcutMarker, SgWindowHandle());  // a key there reaches the main window
  ASSERT_EQ(SgControl.paused, 1);
  const int height = SgControl.clientHeight, x = 50;
  int darkest = 0;
  for (int y = 1; y < height; ++y) {
    if ((GetPixel(SgBackSurface, x, y) & 0xFF) < (GetPixel(SgBackSurface, x, darkest) & 0xFF)) darkest = y;
  }
  EXPECT_TRUE(darkest == height - SgGeometry.binRow[46] || darkest == height - SgGeometry.binRow[47])
      << darkest << " " << SgGeometry.binRow[46];
  EXPECT_EQ(GetPixel(SgBackSurface, x, height - SgGeometry.binRow[200]), kWhite) << "no sound at 4.3 kHz";
}

}  // namespace
