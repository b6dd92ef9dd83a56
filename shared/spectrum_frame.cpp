#include "shared/spectrum_frame.h"

std::atomic<int32_t> SamplesPerFrame{2048};
