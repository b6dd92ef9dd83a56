// The main window's status display: the text font, the screen-sized off-screen surface, the
// status lines and their repaint.
#pragma once

#include <atomic>
#include <cstdint>

// 0 until the wave-out device first reports itself open, 1 from then on: the position block of
// the status display is drawn only while it is 1.
extern std::atomic<int32_t> statusEnabled;
