// The status display's paint: the status lines drawn into the off-screen surface at fixed
// places, then the surface copied to the window. The formats' trailing blanks overwrite the rest
// of a longer previous text; nothing else clears the surface between paints.
#include <algorithm>
#include <cstdarg>
#include <cstdint>
#include <cstdio>

#include "analysis/window_function.h"
#include "audio/level_meter_paint.h"
#include "audio/main_display.h"
#include "audio/playback.h"
#include "audio/playback_device.h"
#include "audio/source_file.h"
#include "shared/sample_store.h"
#include "shared/spectrum_frame.h"

namespace {

// The longest line: "filename:" with a 499-character name and a decoded file's format.
constexpr int kLineBytes = 640;

// Main window thread only.
LevelPaintState levelState;
DWORD paintStart = 0;         // this paint's start
DWORD lastIntervalLine = 0;   // when the previous paint drew its interval line
DWORD lastPaintDuration = 0;  // the previous paint's duration

[[gnu::format(printf, 4, 5)]] void TextLine(HDC dc, int x, int y, const char* format, ...) {
  char text[kLineBytes];
  va_list args;
  va_start(args, format);
  const int length = std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  TextOutA(dc, x, y, text, std::clamp(length, 0, kLineBytes - 1));
}

int32_t ClampToInt32(int64_t value) { return static_cast<int32_t>(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX)); }

// The position block: end time, current position, the level rows and the format. False when
// the level rows found no play buffer, which ends the paint.
bool DrawPositionBlock(HDC dc, DWORD position, const SettingsRecord& settings, bool full) {
  const WAVEFORMATEX& format = SampleStore.format;
  const int32_t dataSize = SampleStore.dataSize;
  if (statusText == 1) {
    float seconds = static_cast<float>(dataSize) / static_cast<float>(format.nAvgBytesPerSec);
    if (speedDoubleDecimate == 1) seconds = static_cast<float>(seconds / 2.0);
    SampleStore.durationSeconds = seconds;
    TextLine(dc, 260, 20, "end:%.2fsec    ", static_cast<double>(seconds));

    int32_t current = ClampToInt32(static_cast<int64_t>(SampleStore.seekBase.load()) + position);
    if (!((current < dataSize && position != 0) || playPaused == 1)) current = dataSize;
    TextLine(dc, 0, 20, "current:%dbyte      ", current);
    TextLine(dc, 180, 20, "%.2fsec ", static_cast<double>(current) / format.nAvgBytesPerSec);
  }
  if (!PaintLevel(dc, levelState, position, settings.levelmetertype, settings.leveltimercalareaper)) {
    lastErrorText = "s==0error";
    return false;
  }
  if (statusText == 1) {
    if (full) {
      TextLine(dc, 0, 120, "bit:%d(%d) dataspeed:%dbyte %dhz %dch   ", format.wBitsPerSample, SampleStore.fullScale,
               static_cast<int>(format.nAvgBytesPerSec), static_cast<int>(format.nSamplesPerSec), format.nChannels);
    }
    TextLine(dc, 0, 40, "datasize=%dbyte   ", dataSize);
  }
  return true;
}

// The technical lines of `mainwindowparafull`: analysis and spectrogram parameters.
void DrawParameterLines(HDC dc, const SettingsRecord& settings) {
  TextLine(dc, 0, 160, "%dfft(radix%d) 休止時間%d %s 表示倍率%d                 ", settings.fftsample.load(),
           settings.fftradix4flag != 0 ? 4 : 2, settings.fftwindowsleeptime.load(), WindowLabel.load(),
           settings.fftgraphmagnified.load());
  TextLine(dc, 0, 220, "spectgraph表示倍率%d sgmanydraw%d sgreturn%d           ", settings.sggraphmagnified.load(),
           settings.sgspectmanydraw.load(), settings.sggraphreturn.load());
  TextLine(dc, 0, 180, "0補間で%d倍(1=してない)  0補間した結果このsample分のwav使ってる->%d        ",
           settings.zerofill.load(), SamplesPerFrame.load());
}

// Everything the paint draws into the off-screen surface; false when the paint ends early.
bool DrawStatus(HDC dc, DWORD position, const SettingsRecord& settings) {
  const bool full = settings.mainwindowparafull == 1;
  if (statusText == 1 && full) TextLine(dc, 0, 0, "buffer 終端:%dbyte    ", SampleStore.writtenEnd.load());
  if (statusEnabled == 1 && !DrawPositionBlock(dc, position, settings, full)) return false;
  if (full) {
    const DWORD now = timeGetTime();
    TextLine(dc, 0, 100, "画面更新間隔%dms       ", static_cast<int>(now - lastIntervalLine));
    lastIntervalLine = now;
    TextLine(dc, 170, 100, "前回の画面更新処理時間%dms    ", static_cast<int>(lastPaintDuration));
  }
  const char* decodedFormat = OpenedSourceFormat();
  if (decodedFormat[0] == '\0') {
    TextLine(dc, 0, 80, "filename:%s    ", SampleStore.WavFileName);
  } else {
    TextLine(dc, 0, 80, "filename:%s (%s)    ", SampleStore.WavFileName, decodedFormat);
  }
  if (full) DrawParameterLines(dc, settings);
  return true;
}

}  // namespace

void OnPaint() { PaintStatus(static_cast<DWORD>(PlaybackDevicePosition())); }

void PaintStatus(DWORD position) {
  const HWND hwnd = MainDisplayWindow();
  const HDC dc = MainOffscreen();
  const SettingsRecord* settings = MainDisplaySettings();
  if (!dc || !settings) return;
  const bool full = settings->mainwindowparafull == 1;
  if (full) paintStart = timeGetTime();
  // Nothing to show while the last buffer drains past the data's end, or before any playback.
  // The update region is validated so that the platform does not ask again at once.
  const bool draining = SampleStore.dataSize - (static_cast<int64_t>(position) + SampleStore.seekBase.load()) <= 0 &&
                        playflag == 1 && eflag == 1;
  const bool neverPlayed = playflag == 0 && SampleStore.lastWritten == kNoPlayBuffer;
  if (draining || neverPlayed) {
    ValidateRect(hwnd, nullptr);
    return;
  }
  PAINTSTRUCT paint;
  const HDC windowDc = BeginPaint(hwnd, &paint);
  const bool complete = DrawStatus(dc, position, *settings);
  if (complete) {
    const ClientSize client = MainClientSize();
    BitBlt(windowDc, 0, 0, client.width, client.height, dc, 0, 0, SRCCOPY);
  }
  EndPaint(hwnd, &paint);
  if (complete && full) lastPaintDuration = timeGetTime() - paintStart;
}
