#include "spectrogram/sg_note_name.h"

#include <cmath>

#include "spectrogram/sg_geometry.h"

namespace {

constexpr const char* kNames[] = {"A", "Bb", "B", "C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab"};

}  // namespace

int32_t FrequencyAtRow(float nyquist, float logNyquist, int32_t height, int32_t y) {
  if (height <= 0 || nyquist <= 0.0f) return 0;
  const double exponent = (static_cast<double>(logNyquist) / height) * (height - y) - logNyquist;
  return TruncRow(static_cast<double>(nyquist) * std::pow(10.0, exponent));
}

const char* NoteName(int32_t f) {
  if (f <= 0) return kNames[0];
  // The A below f: 440 / 512 Hz doubled until it reaches f, then halved once. The search starts
  // afresh every call, so a falling frequency is named as well as a rising one.
  double ref = 0.859375;
  while (ref < f) ref *= 2.0;
  ref /= 2.0;
  const float index = static_cast<float>(12.0 * std::log(f / ref) / std::log(2.0));
  if (index < 0.5f || index >= 11.5f) return kNames[0];
  const int n = static_cast<int>(index + 0.5);
  return n >= 1 && n <= 11 ? kNames[n] : "er";
}
