// A main window with its status display for the display and level meter tests: an in-memory
// window whose size handler is the display's, a 16-bit source in SampleStore, and pixel checks
// against text rendered the same way into a reference surface.
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
#include "transport_reset.h"

namespace display_test {

inline constexpr COLORREF kWhite = 0xFFFFFF;
inline constexpr COLORREF kBlack = 0x000000;

inline LRESULT CALLBACK StatusWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SIZE) {
    OnSize(LOWORD(lParam), HIWORD(lParam));
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Whether the `width` x `height` block at (x, y) of `dc` equals the same block of `reference`
// at (refX, refY); the first difference is reported.
inline ::testing::AssertionResult SameBlock(HDC dc, int x, int y, HDC reference, int refX, int refY, int width,
                                            int height) {
  for (int row = 0; row < height; ++row) {
    for (int column = 0; column < width; ++column) {
      const COLORREF got = GetPixel(dc, x + column, y + row);
      const COLORREF want = GetPixel(reference, refX + column, refY + row);
      if (got != want) {
        return ::testing::AssertionFailure() << "pixel (" << x + column << ", " << y + row << ") is " << std::hex
                                             << got << ", expected " << want;
      }
    }
  }
  return ::testing::AssertionSuccess();
}

// Non-white pixels in the block.
inline int InkIn(HDC dc, int left, int top, int right, int bottom) {
  int ink = 0;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) ink += GetPixel(dc, x, y) != kWhite ? 1 : 0;
  }
  return ink;
}

// `text` drawn black on white at (0, 0) of its own surface in `font`.
class ReferenceText {
 public:
  ReferenceText(const std::string& text, HFONT font) {
    dc_ = CreateCompatibleDC(nullptr);
    if (font) SelectObject(dc_, font);
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size_);
    bitmap_ = CreateCompatibleBitmap(dc_, size_.cx, size_.cy);
    SelectObject(dc_, bitmap_);
    TextOutA(dc_, 0, 0, text.data(), static_cast<int>(text.size()));
  }
  ~ReferenceText() {
    DeleteDC(dc_);
    DeleteObject(bitmap_);
  }
  ReferenceText(const ReferenceText&) = delete;
  ReferenceText& operator=(const ReferenceText&) = delete;

  HDC dc() const { return dc_; }
  int width() const { return size_.cx; }
  int height() const { return size_.cy; }
  // Whether the text appears at (x, y) of `dc`, cut off at `maxWidth` pixels.
  ::testing::AssertionResult At(HDC target, int x, int y, int maxWidth = 1 << 20) const {
    return SameBlock(target, x, y, dc_, 0, 0, width() < maxWidth ? width() : maxWidth, height());
  }

 private:
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  SIZE size_{};
};

// Mono 16-bit 44100 Hz: 88200 bytes a second, a level window of 220 bytes (110 frames).
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
      cls.lpfnWndProc = StatusWindowProc;
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
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
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
