// The level meter: the level in decibels and its bar in the main window. This part measures a
// window of frames in a play buffer and turns it into decibels and bar lengths; the status
// display's paint (level_meter_paint.h) and the level meter thread (level_meter_thread.h) draw.
#pragma once

#include <atomic>
#include <cstdint>

// 1 while the level meter thread computes and draws nothing (key a); every playback start
// clears it.
extern std::atomic<int32_t> levelHold;
// 1 (the default): the status display's paint draws the bar and the level meter thread is not
// started; 0: the thread draws the bar (key x).
extern std::atomic<int32_t> levelThreadOff;

// The values of `levelmetertype`.
enum LevelMeterType : int32_t {
  kLevelSubWide = 0,      // "sub(wide)": neighbouring frames' differences
  kLevelRmsLike = 1,      // "rmsっぽい": mean absolute value
  kLevelPeak = 2,         // "peak"
  kLevelSub = 3,          // "sub": the last two frames' absolute values
  kLevelRmsSimple = 4,    // "rms(simple)": 0.707 x peak
  kLevelRmsAccuracy = 5,  // "rms(accuracy)"
};

// The bar: from (kLevelBarLeft, kLevelBarY) to the right, kLevelBarUnit pixels per unit.
inline constexpr int kLevelBarLeft = 120;
inline constexpr int kLevelBarY = 68;
inline constexpr int kLevelBarUnit = 4;
// The level text's row.
inline constexpr int kLevelTextY = 60;

// What one pass over a window of frames found. Only the first channel of each frame counts.
struct LevelWindow {
  int32_t frames = 0;          // n
  int32_t end = 0;             // byte position after the last frame visited
  int64_t sumDifferences = 0;  // |s - next s| per frame, one more for each zero difference
  int64_t sumAbsolute = 0;
  int32_t peak = 0;
  float sumSquares = 0.0f;
  int32_t previousAbsolute = 0;  // |s| of the frame before the last one
  int32_t currentAbsolute = 0;   // |s| of the last frame
};

// Visits the frames of `buffer` (a play buffer; null reads nothing) from `offset` while the byte
// position is below offset + windowBytes and below 127999. `carriedAbsolute` is the last pass's
// current absolute value, the "previous" of this pass's first frame. An offset outside the buffer
// visits nothing. The last frame of the buffer has no next frame: its difference counts as 0.
// Reads through PlayBufferLoad, since the main thread may be refilling the buffer.
LevelWindow MeasureLevel(const char* buffer, int32_t offset, int32_t windowBytes, int32_t blockAlign,
                         int32_t bitsPerSample, int32_t carriedAbsolute);

struct LevelReading {
  double decibels = 0.0;
  // No signal, or nothing to measure: shown as "(-inf)", decibels then 20 x log10(1 / fullScale).
  bool silent = false;
};

// 20 x log10(1 / fullScale): -96.33 for 16 bits, -48.16 for 8 bits.
double SilenceDecibels(int32_t fullScale);
// The paint's reading, all six types. An empty window or a zero ratio reads as silence rather
// than as a division by zero or an infinite level.
LevelReading PaintLevelReading(int32_t type, const LevelWindow& window, int32_t fullScale);
// The thread's reading, which knows only types 0 and 1; false for the others.
bool ThreadLevelReading(int32_t type, const LevelWindow& window, int32_t fullScale, LevelReading* reading);

// Bar length in units: trunc(96.3 - |dB|) for 16-bit data, trunc(48.1 - |dB|) for 8-bit data.
int32_t LevelBarUnits(double decibels, int32_t bitsPerSample);
// Where 0 dB sits: x = 504 for 16-bit data, 312 for 8-bit data.
int32_t ZeroDecibelX(int32_t bitsPerSample);

// The peak hold: the last ten readings and where the next one goes.
struct PeakHold {
  static constexpr int kLength = 10;
  float history[kLength] = {};
  int32_t index = 0;
  int32_t stored = 0;  // readings stored so far, up to kLength
};

// Stores a reading and returns the bar length of the loudest of the last ten (the first of equal
// ones). Before ten readings exist only those stored count.
int32_t HoldPeak(PeakHold& hold, float decibels, int32_t bitsPerSample);
