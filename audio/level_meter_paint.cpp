#include "audio/level_meter_paint.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "audio/level_meter_draw.h"
#include "shared/sample_store.h"

namespace {

constexpr COLORREF kBlack = 0x000000;

// Bytes handed to the device and not yet heard, counted from whole buffers. Short last buffers
// can make it negative; whole buffers are then added back until it is not.
int32_t AheadOfDevice(DWORD devicePosition) {
  const int64_t handed = static_cast<int64_t>(buff.load()) * kPlayBufferBytes;
  const int64_t heard = static_cast<int64_t>(devicePosition) + SampleStore.format.nAvgBytesPerSec / 1000;
  int64_t ahead = handed - heard;
  if (ahead < 0) ahead += (-ahead + kPlayBufferBytes - 1) / kPlayBufferBytes * kPlayBufferBytes;
  return static_cast<int32_t>(std::min<int64_t>(ahead, INT32_MAX));
}

// "vol(dB):..." followed by blanks up to the full row.
void FormatLevelText(char* text, const LevelReading& reading) {
  const int length = std::snprintf(text, kLevelTextLength + 1,
                                   reading.silent ? "vol(dB):% 2.2fdB(-inf)" : "vol(dB):% 2.2fdB  ", reading.decibels);
  const size_t used = length < 0 ? 0 : std::min<size_t>(static_cast<size_t>(length), kLevelTextLength);
  std::memset(text + used, ' ', kLevelTextLength - used);
  text[kLevelTextLength] = '\0';
}

}  // namespace

bool PaintLevel(HDC offscreen, LevelPaintState& state, DWORD devicePosition, int32_t levelmetertype,
                int32_t leveltimercalareaper) {
  if (playflag == 1 && (devicePosition != 0 || eflag != 1)) state.ahead = AheadOfDevice(devicePosition);
  const PlayPosition position = ComputePlayPosition(state.ahead);
  if (position.buffer == kNoPlayBuffer) return false;

  const WAVEFORMATEX& format = SampleStore.format;
  const int32_t bits = format.wBitsPerSample;
  const int32_t windowBytes =
      leveltimercalareaper > 0 ? static_cast<int32_t>(format.nAvgBytesPerSec / static_cast<DWORD>(leveltimercalareaper)) : 0;
  const LevelWindow window = MeasureLevel(PlayBufferData(position.buffer), position.offset, windowBytes,
                                          SampleStore.blockAlign, bits, state.currentAbsolute);
  state.currentAbsolute = window.currentAbsolute;

  const LevelReading reading = PaintLevelReading(levelmetertype, window, SampleStore.fullScale);
  const int32_t holdUnits = HoldPeak(state.hold, static_cast<float>(reading.decibels), bits);

  FormatLevelText(state.text, reading);
  TextOutA(offscreen, 0, kLevelTextY, state.text, kLevelTextLength);
  SetPixel(offscreen, kLevelBarLeft + kLevelBarUnit * holdUnits, kLevelBarY, kBlack);

  const double barDecibels = reading.decibels >= 0.0 ? -1.0 : reading.decibels;
  DrawZeroDecibelLine(offscreen, bits);
  TextOutA(offscreen, ZeroDecibelX(bits), 40, "0dB", 3);
  if (levelThreadOff == 1) DrawLevelBar(offscreen, LevelBarUnits(barDecibels, bits));
  return true;
}
