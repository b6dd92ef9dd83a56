#include "analysis/fft_graph_flags.h"

#include "shared/settings.h"

std::atomic<int32_t> FftRelayout{1};
std::atomic<int32_t> FftLogAxis{1};
std::atomic<int32_t> FftLevelAxis{0};
std::atomic<int32_t> FftOnePointPerColumn{1};
std::atomic<int32_t> FftUpdatesStopped{0};
std::atomic<int32_t> FftStatsMode{0};
std::atomic<int32_t> FftWideStats{0};
std::atomic<int32_t> FftStatsOff{0};
std::atomic<int32_t> FftPositionDisplay{0};

void SelectFftFrequencyAxis(int32_t logarithmic) {
  FftLogAxis = logarithmic == 1 ? 1 : 0;
  FftLevelAxis = 0;
  FftRelayout = 1;
}

void SelectFftLevelAxis(SettingsRecord& settings) {
  FftLogAxis = 1;
  FftLevelAxis = 1;
  settings.fftdrawold = 1;
  settings.fftdrawline = 0;
  FftOnePointPerColumn = 1;
  settings.fftgraphmodelight = 1;
  FftRelayout = 1;
}

void ToggleFftUpdatesStopped() {
  if (FftUpdatesStopped == 0) {
    FftUpdatesStopped = 1;
  } else {
    FftUpdatesStopped = 0;
    FftStatsOff = 0;
  }
}

void ToggleFftStatsOff() {
  if (FftStatsOff != 0) {
    FftStatsOff = 0;
  } else if (FftUpdatesStopped == 1) {
    FftStatsOff = 1;
  }
}
