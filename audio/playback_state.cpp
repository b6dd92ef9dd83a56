// The playback engine's shared state, which the status display, the menus and the views read.
#include "audio/playback.h"

std::atomic<HWAVEOUT> WaveOutDevice{nullptr};
std::atomic<int32_t> resumePending{0};
std::atomic<int32_t> endCount{0};
std::atomic<uint32_t> lasterror{0};
std::atomic<const char*> lastErrorText{""};
std::atomic<int32_t> speedDoubleDecimate{0};
std::atomic<int32_t> speedDoubleBlocks{0};
std::atomic<int32_t> pitchHalf{0};
std::atomic<int32_t> speedHalf{0};
