// What the main window's commands and keys change in the vectorscope and waveform views, read by
// their threads at their next loop. Defined here (inline variables) so that the commands link
// them without depending on the views' own code.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

// 1: the vectorscope thread recomputes its scales (sample-count commands 66 to 72, resizes).
inline std::atomic<int32_t> VsParamsChanged{0};
// 1 (the default): the vectorscope joins its points with lines (command 73).
inline std::atomic<int32_t> VsLineMode{1};
// 1: the vectorscope shows its wait counts (key v).
inline std::atomic<int32_t> VsShowWaits{0};
// The vectorscope and waveform threads started last, for the debug menu's thread list (0 before
// the first).
inline std::atomic<DWORD> VsThreadId{0};
inline std::atomic<DWORD> WavThreadId{0};
