#include "audio/level_meter_thread.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/level_meter.h"
#include "audio/level_meter_draw.h"
#include "audio/main_display.h"
#include "audio/playback_device.h"
#include "shared/playback_rate.h"
#include "shared/sample_store.h"

std::atomic<DWORD> levelMeterThreadId{0};

namespace {

constexpr DWORD kCreationDelayMs = 100;
constexpr DWORD kPassSleepMs = 5;
// The thread measures 1/400 s of sound whatever `leveltimercalareaper` says.
constexpr DWORD kWindowDivisor = 400;
constexpr int kBlankRowLength = 100;
constexpr int kTimingPasses = 5;

// The information text's figures: written by the thread, read by the debug menu.
std::atomic<int32_t> infoInterval{0};
std::atomic<int32_t> infoAverage{0};
std::atomic<int32_t> infoMeasuredMs{0};

struct PassTiming {
  DWORD last = 0;
  int32_t intervals[kTimingPasses] = {};
  int32_t index = 0;
  int32_t average = 0;
};

void RecordPass(PassTiming& timing, DWORD now, int32_t measuredMs) {
  const auto interval = static_cast<int32_t>(now - timing.last);
  infoInterval = interval;
  infoAverage = timing.average;
  infoMeasuredMs = measuredMs;
  timing.last = now;
  timing.intervals[timing.index++] = interval;
  if (timing.index == kTimingPasses) {
    int32_t sum = 0;
    for (int32_t value : timing.intervals) sum += value;
    timing.average = sum / kTimingPasses;
    timing.index = 0;
  }
}

// What the thread works with, taken from the format record when it starts.
struct ThreadFormat {
  int32_t bits;
  int32_t fullScale;
  int32_t blockAlign;
  DWORD bytesPerSecond;
};

// The frame heard now: everything handed to the device minus what it has played.
PlayPosition HeardNow() {
  const auto played = static_cast<DWORD>(PlaybackDevicePosition());
  const int64_t heard = static_cast<int64_t>(played) + SampleStore.seekBase.load();
  const int64_t ahead = SampleStore.writtenEnd.load() - heard;
  return ComputePlayPosition(static_cast<int32_t>(std::clamp<int64_t>(ahead, INT32_MIN, INT32_MAX)));
}

// One pass: the text row blanked on both surfaces, the level text (types 0 and 1) and the bar.
// Returns the milliseconds of sound measured.
int32_t Pass(HDC window, HDC offscreen, const ThreadFormat& format, int32_t type, float& decibels) {
  static constexpr char kBlankRow[kBlankRowLength + 1] =
      "                                                                                                    ";
  const PlayPosition position = HeardNow();
  const LevelWindow measured = MeasureLevel(PlayBufferData(position.buffer), position.offset,
                                            static_cast<int32_t>(format.bytesPerSecond / kWindowDivisor),
                                            format.blockAlign, format.bits, 0);
  TextOutA(offscreen, 0, kLevelTextY, kBlankRow, kBlankRowLength);
  TextOutA(window, 0, kLevelTextY, kBlankRow, kBlankRowLength);
  DrawZeroDecibelLine(window, format.bits);

  LevelReading reading;
  if (ThreadLevelReading(type, measured, format.fullScale, &reading)) {
    decibels = static_cast<float>(reading.decibels);
    char text[64];
    const int length = std::snprintf(text, sizeof text, reading.silent ? "vol(dB):% 2.2fdB(-inf)" : "vol(dB):% 2.2fdB    ",
                                     static_cast<double>(decibels));
    TextOutA(window, 0, kLevelTextY, text, std::clamp(length, 0, static_cast<int>(sizeof text) - 1));
  }
  if (!(decibels < 10.0f)) decibels = 1.0f;
  const int32_t units = LevelBarUnits(decibels, format.bits);
  DrawLevelBar(window, units);
  DrawLevelBar(offscreen, units);
  if (format.bytesPerSecond == 0) return 0;
  return static_cast<int32_t>(static_cast<int64_t>(measured.end - position.offset) * 1000 / format.bytesPerSecond);
}

}  // namespace

void LevelMeterThread(std::atomic<int32_t>* restart) {
  levelMeterThreadId = GetCurrentThreadId();
  const WAVEFORMATEX& source = SampleStore.format;
  ThreadFormat format;
  format.bits = source.wBitsPerSample;
  format.fullScale = static_cast<int32_t>(std::pow(2.0, format.bits));
  format.blockAlign = source.nBlockAlign;
  format.bytesPerSecond = PlaybackBytesPerSecond(source);
  if (restart->load() == 0) Sleep(kCreationDelayMs);

  const HWND hwnd = MainDisplayWindow();
  const HDC offscreen = MainOffscreen();
  const SettingsRecord* settings = MainDisplaySettings();
  if (!hwnd || !offscreen || !settings) return;
  const HDC window = GetDC(hwnd);
  float decibels = static_cast<float>(SilenceDecibels(format.fullScale));
  PassTiming timing;
  timing.last = timeGetTime();
  while (playflag == 1 && levelThreadOff != 1) {
    if (levelHold == 0) {
      const int32_t measuredMs = Pass(window, offscreen, format, settings->levelmetertype, decibels);
      RecordPass(timing, timeGetTime(), measuredMs);
    }
    Sleep(kPassSleepMs);
  }
  ReleaseDC(hwnd, window);
}

bool LevelMeterThreadWanted(ViewStart start) { return start != ViewStart::LiveInput && levelThreadOff == 0; }

void FormatLevelThreadInfo(char* text, size_t size) {
  std::snprintf(text, size, "levelmeterreset:levelmeter更新間隔%2dms(五回平均%d)  levelmeter%dms分計算        ",
                infoInterval.load(), infoAverage.load(), infoMeasuredMs.load());
}
