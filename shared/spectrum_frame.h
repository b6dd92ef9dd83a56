// The number of samples analysed per FFT cycle: `fftsample` / `zerofill`. Start-up sets it, the
// interpolation commands and each playback start change it, the FFT thread reads it.
#pragma once

#include <atomic>
#include <cstdint>

extern std::atomic<int32_t> SamplesPerFrame;
