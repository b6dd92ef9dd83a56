#include "shared/spectrum_view_samples.h"

std::atomic<int32_t> ViewLeft[kViewSampleRoom];
std::atomic<int32_t> ViewRight[kViewSampleRoom];
std::atomic<int32_t> ViewSamplesReady{0};
