// A main window whose size handler is the status display's, and a 16-bit source in SampleStore.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "app/settings.h"
#include "audio/level_meter.h"
#include "audio/main_display.h"
#include "audio/playback.h"
#include "audio/sample_store.h"
#include "audio/view_threads.h"
#include "platform/win32.h"
#include "support/picture.h"
#include "transport_reset.h"

namespace display_test {

using test_support::InkIn;
using test_support::kBlack;
using test_support::kWhite;
using test_support::TextImage;

inline void UseSource(int channels, int bits) {
  WAVEFORMATEX& f = SampleStore.format;
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = static_cast<WORD>(channels);
  f.nSamplesPerSec = 44100;
  f.wBitsPerSample = static_cast<WORD>(bits);
  f.nBlockAlign = static_cast<WORD>(channels * bits / 8);
  f.nAvgBytesPerSec = f.nSamplesPerSec * f.nBlockAlign;
  SampleStore.fileRate = 44100;
  SampleStore.blockAlign = f.nBlockAlign;
  SampleStore.fullScale = 1 << bits;
}

// The first channel of frame `frame` of a play buffer.
inline void PutSample(char* buffer, int frame, int value, int blockAlign, int bits) {
  const int position = frame * blockAlign;
  if (bits == 8) {
    PlayBufferStore(buffer, position, static_cast<unsigned char>(value + 128));
  } else {
    PlayBufferStore(buffer, position, static_cast<unsigned char>(value & 0xFF));
    PlayBufferStore(buffer, position + 1, static_cast<unsigned char>((value >> 8) & 0xFF));
  }
}

using audio_test::ResetTransport;

class StatusDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static const bool registered = [] {
      WNDCLASSA cls{};
      cls.lpfnWndProc = [](HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) -> LRESULT {
        if (msg != WM_SIZE) return DefWindowProcA(hwnd, msg, wParam, lParam);
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
      };
      cls.lpszClassName = "status display test";
      cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
      return RegisterClassA(&cls) != 0;
    }();
    ASSERT_TRUE(registered);
    ResetTransport();
    UseSource(1, 16);
    hwnd = CreateWindowExA(0, "status display test", "morvex", WS_OVERLAPPEDWINDOW, 0, 0, 800, 400, nullptr, nullptr,
                           nullptr, nullptr);
    ASSERT_NE(hwnd, nullptr);
    ShowWindow(hwnd, SW_SHOW);  // only a visible window is asked to paint
    CreateMainDisplay(hwnd, settings);
    RECT client{};
    GetClientRect(hwnd, &client);
    OnSize(client.right, client.bottom);
    window = GetDC(hwnd);
    audio_test::Pump();  // the first paint after showing erases the background
  }

  void TearDown() override {
    playflag = 0;
    EXPECT_TRUE(WaitForViewThreadEnd(ViewKind::LevelMeter, 2000));
    ReleaseDC(hwnd, window);
    DestroyMainDisplay();
    DestroyWindow(hwnd);
    audio_test::Pump();
    ResetTransport();
  }

  // Paints, as the window's paint handler does, with the device at `position`.
  void Paint(DWORD position) {
    InvalidateRect(hwnd, nullptr, FALSE);
    PaintStatus(position);
  }

  SettingsRecord settings;
  HWND hwnd = nullptr;
  HDC window = nullptr;  // the window's client surface
};

}  // namespace display_test
