// The FFT graph's switches. The FFT window's menu and the main window's commands and keys set
// them on the user-interface thread; the FFT thread reads them at its next cycle.
#pragma once

#include <atomic>
#include <cstdint>

struct SettingsRecord;

// 1: the axis layout must be recomputed (and the logarithmic grid redrawn) before the next
// picture. 1 at start-up; set by every resize, by the magnification, axis, drawing-type and
// rate-converter commands, and whenever the FFT thread starts for a new source.
extern std::atomic<int32_t> FftRelayout;
// The frequency axis: 1 logarithmic (the default), 0 linear.
extern std::atomic<int32_t> FftLogAxis;
// 1: the level axis is logarithmic too, one pixel per dB below full scale.
extern std::atomic<int32_t> FftLevelAxis;
// 1 (the default): at most one curve point per pixel column ("graphすっきりさせる(kani)").
extern std::atomic<int32_t> FftOnePointPerColumn;
// 1: "このwindow更新停止". The spectrum is still computed and published; the picture stays.
extern std::atomic<int32_t> FftUpdatesStopped;
// Key w: 0 shows the timing line (interval, transform time, latency), 1 the frame rate.
extern std::atomic<int32_t> FftStatsMode;
// Key 3: the statistics area copied to the window is 280 pixels wide instead of 40.
extern std::atomic<int32_t> FftWideStats;
// Key r: no statistics at all (only while updates are stopped).
extern std::atomic<int32_t> FftStatsOff;
// Key k: while the main window is hidden the frame rate line also shows the play position.
extern std::atomic<int32_t> FftPositionDisplay;

// Commands 11 and 12: logarithmic (1) or linear (0) frequency axis, without the level axis.
void SelectFftFrequencyAxis(int32_t logarithmic);
// Command 165: logarithmic frequency and level axes, drawn the simple way (old strategy, one
// point per column, light drawing).
void SelectFftLevelAxis(SettingsRecord& settings);
// Command 54: stops or resumes the window's updates; resuming also ends the statistics-off state.
void ToggleFftUpdatesStopped();
// Key r: statistics off only while updates are stopped; back on at any time.
void ToggleFftStatsOff();
