#include "spectrogram/sg_geometry.h"

#include <algorithm>
#include <cmath>

std::atomic<float> SgAxisNyquist{0.0f};
std::atomic<float> SgAxisLogNyquist{0.0f};

void PublishSgAxis(const SgGeometryRecord& geometry) {
  SgAxisNyquist = geometry.nyquist;
  SgAxisLogNyquist = geometry.logNyquist;
}

int32_t TruncRow(double x) {
  if (std::isnan(x)) return 0;
  return static_cast<int32_t>(std::trunc(std::clamp(x, -2147483648.0, 2147483647.0)));
}

void ComputeSgGeometry(SgGeometryRecord* g, int32_t rate, int32_t fftsample, int32_t height) {
  const double nyquist = static_cast<double>(rate) / 2.0;
  g->height = std::max(height, 0);
  g->binCount = std::clamp(fftsample / 2, 0, kSgMaxBins);
  g->binHz = fftsample > 0 ? static_cast<float>(static_cast<double>(rate) / fftsample) : 0.0f;
  g->nyquist = static_cast<float>(nyquist);
  const bool usable = g->nyquist > 1.0f && g->height > 0;
  g->logNyquist = g->nyquist > 1.0f ? static_cast<float>(std::log10(static_cast<double>(g->nyquist))) : 0.0f;
  g->linearHzPerRow = g->height > 0 ? static_cast<float>(nyquist / g->height) : 0.0f;
  g->axisScale = usable ? static_cast<float>(static_cast<double>(g->nyquist) / g->logNyquist / g->linearHzPerRow) : 0.0f;
  g->binAxisScale = usable ? static_cast<float>(g->height / static_cast<double>(g->logNyquist)) : 0.0f;
  g->binStep = g->nyquist > 1.0f ? static_cast<float>(static_cast<double>(g->binHz) / g->nyquist) : 0.0f;
  g->binRow[0] = 0;
  for (int32_t i = 1; i < g->binCount; ++i) {
    const double row = (std::log10(i * static_cast<double>(g->binStep)) + g->logNyquist) * g->binAxisScale;
    g->binRow[i] = usable ? TruncRow(row) : 0;
  }
}

double LogRowExact(const SgGeometryRecord& g, double f) {
  if (g.axisScale == 0.0f || f <= 0.0) return 0.0;
  return (std::log10(f / g.nyquist) + g.logNyquist) * g.axisScale;
}

double LinearRowExact(const SgGeometryRecord& g, int32_t f) {
  if (g.nyquist <= 0.0f) return 0.0;
  return static_cast<double>(static_cast<int64_t>(f) * g.height) / g.nyquist;
}

int32_t LinearBinOfRow(const SgGeometryRecord& g, int32_t row) {
  return g.height > 0 ? static_cast<int32_t>(static_cast<int64_t>(row) * g.binCount / g.height) : 0;
}
