// The level meter: the level in decibels and its bar in the main window.
#pragma once

#include <atomic>
#include <cstdint>

// 1 while the level meter thread computes and draws nothing (key a); every playback start
// clears it.
extern std::atomic<int32_t> levelHold;
