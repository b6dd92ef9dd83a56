#include "audio/level_meter.h"

#include <cmath>
#include <cstdlib>

#include "shared/sample_store.h"

std::atomic<int32_t> levelHold{0};
std::atomic<int32_t> levelThreadOff{1};

namespace {

// The first channel's sample of the frame at `position`: 16-bit signed little-endian, or an
// 8-bit byte around 128.
int32_t SampleAt(const char* buffer, int32_t position, int32_t bitsPerSample) {
  if (bitsPerSample == 8) return static_cast<int32_t>(PlayBufferLoad(buffer, position)) - 128;
  const uint32_t low = PlayBufferLoad(buffer, position);
  const uint32_t high = PlayBufferLoad(buffer, position + 1);
  return static_cast<int16_t>(static_cast<uint16_t>(low | (high << 8)));
}

int32_t SampleBytes(int32_t bitsPerSample) { return bitsPerSample == 8 ? 1 : 2; }

// The largest positive sample: 32767 for 16 bits, 127 for 8 bits.
int32_t HalfScale(int32_t fullScale) { return fullScale / 2 - 1; }

// A reading of 20 x log10(ratio); silence when the ratio gives no finite level.
LevelReading FromRatio(double ratio, double offset, int32_t fullScale) {
  LevelReading reading;
  reading.decibels = 20.0 * std::log10(ratio) + offset;
  if (!std::isfinite(reading.decibels)) {
    reading.decibels = SilenceDecibels(fullScale);
    reading.silent = true;
  }
  return reading;
}

LevelReading Silence(int32_t fullScale) { return {SilenceDecibels(fullScale), true}; }

// n frames of full scale; the denominator of types 0 and 1.
double FullScaleFrames(int32_t fullScale, int32_t frames) {
  return static_cast<double>(fullScale) * static_cast<double>(frames);
}

}  // namespace

LevelWindow MeasureLevel(const char* buffer, int32_t offset, int32_t windowBytes, int32_t blockAlign,
                         int32_t bitsPerSample, int32_t carriedAbsolute) {
  LevelWindow window;
  window.currentAbsolute = carriedAbsolute;
  window.end = offset;
  if (!buffer || blockAlign <= 0 || offset < 0) return window;
  const int32_t sampleBytes = SampleBytes(bitsPerSample);
  const int64_t windowEnd = static_cast<int64_t>(offset) + (windowBytes > 0 ? windowBytes : 0);
  int32_t position = offset;
  for (; position < windowEnd && position < kPlayBufferReadLimit; position += blockAlign) {
    const int32_t s = SampleAt(buffer, position, bitsPerSample);
    const int32_t next = position + blockAlign;
    const int32_t d = next + sampleBytes <= kPlayBufferBytes ? std::abs(s - SampleAt(buffer, next, bitsPerSample)) : 0;
    const int32_t magnitude = std::abs(s);
    window.previousAbsolute = window.currentAbsolute;
    window.currentAbsolute = magnitude;
    window.sumAbsolute += magnitude;
    if (magnitude > window.peak) window.peak = magnitude;
    window.sumSquares += static_cast<float>(magnitude * magnitude);
    window.sumDifferences += d == 0 ? 1 : d;
    ++window.frames;
  }
  window.end = position;
  return window;
}

double SilenceDecibels(int32_t fullScale) { return 20.0 * std::log10(1.0 / fullScale); }

LevelReading PaintLevelReading(int32_t type, const LevelWindow& window, int32_t fullScale) {
  if (window.frames == 0 || window.sumAbsolute == 0) return Silence(fullScale);
  const double half = HalfScale(fullScale);
  switch (type) {
    case kLevelSubWide:
      return FromRatio(window.sumDifferences / FullScaleFrames(fullScale, window.frames), 0.0, fullScale);
    case kLevelRmsLike:
      return FromRatio(window.sumAbsolute / FullScaleFrames(fullScale, window.frames), 6.0 + 4.0, fullScale);
    case kLevelPeak:
      return FromRatio(window.peak / half, 0.0, fullScale);
    case kLevelSub:
      return FromRatio(std::abs(window.currentAbsolute - window.previousAbsolute) / static_cast<double>(fullScale),
                       0.0, fullScale);
    case kLevelRmsSimple:
      return FromRatio(window.peak * 0.707 / half, 0.0, fullScale);
    case kLevelRmsAccuracy: {
      const float meanSquare = window.sumSquares / static_cast<float>(window.frames);
      return FromRatio(std::sqrt(static_cast<double>(meanSquare)) / half, 0.0, fullScale);
    }
    default:
      return Silence(fullScale);
  }
}

bool ThreadLevelReading(int32_t type, const LevelWindow& window, int32_t fullScale, LevelReading* reading) {
  switch (type) {
    case kLevelSubWide:
      // A silent window still reads finite here: each zero difference counts 1.
      *reading = window.frames == 0
                     ? Silence(fullScale)
                     : FromRatio(window.sumDifferences / FullScaleFrames(fullScale, window.frames), 0.0, fullScale);
      return true;
    case kLevelRmsLike:
      *reading = window.sumAbsolute == 0 || window.sumAbsolute < window.frames
                     ? Silence(fullScale)
                     : FromRatio(window.sumAbsolute / FullScaleFrames(fullScale, window.frames), 6.0 + 4.0, fullScale);
      return true;
    default:
      return false;
  }
}

int32_t LevelBarUnits(double decibels, int32_t bitsPerSample) {
  const double range = bitsPerSample == 8 ? 48.1 : 96.3;
  const double units = range - std::fabs(decibels);
  // Readings are finite and far below these bounds; the guard keeps the conversion defined.
  if (!(units > -1.0e6 && units < 1.0e6)) return 0;
  return static_cast<int32_t>(units);  // truncation toward zero
}

int32_t ZeroDecibelX(int32_t bitsPerSample) {
  return kLevelBarLeft + kLevelBarUnit * LevelBarUnits(0.0, bitsPerSample);
}

int32_t HoldPeak(PeakHold& hold, float decibels, int32_t bitsPerSample) {
  hold.history[hold.index] = decibels;
  if (hold.stored < PeakHold::kLength) ++hold.stored;
  float loudest = hold.history[0];
  for (int32_t i = 1; i < hold.stored; ++i) {
    if (hold.history[i] > loudest) loudest = hold.history[i];
  }
  hold.index = hold.index == PeakHold::kLength - 1 ? 0 : hold.index + 1;
  return LevelBarUnits(loudest, bitsPerSample);
}
