// The request flags and shared values through which the main window, the spectrogram window and
// the FFT thread steer the spectrogram thread. Every field is read and written without locks by
// several threads; the request flags are one-shot: the requester sets 1, the spectrogram thread
// acts at the start of its next cycle and sets 0.
//
// The definitions live here (inline variables) so that every subsystem that steers the
// spectrogram links them without depending on the spectrogram's own code.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/win32.h"

struct SgControlRecord {
  std::atomic<int32_t> column{0};          // x of the column being drawn; 0 right after a clear
  std::atomic<int32_t> clearRequest{0};    // 1: clear the picture and recompute the geometry
  std::atomic<int32_t> rescaleRequest{0};  // 1: recompute the intensity scale
  std::atomic<int32_t> repaintRequest{0};  // 1: copy the whole back buffer to the window
  std::atomic<int32_t> returnedOnce{0};    // 1 once the column has wrapped since playback stopped
  std::atomic<int32_t> stopped{0};         // 1: the thread must end (update stop, window hidden)
  std::atomic<int32_t> paused{0};          // 1: freeze the picture until playback ends
  std::atomic<int32_t> endOfData{0};       // 1: the FFT thread has passed the end of the data
  std::atomic<int32_t> waitStats{0};       // 1: write the wait statistics line
  std::atomic<int32_t> cursorRow{-1};      // mouse y in the client area; -1 without the focus
  std::atomic<int32_t> clientWidth{0};
  std::atomic<int32_t> clientHeight{0};
  std::atomic<int32_t> threadId{0};
  // A handle for changing the running thread's priority from another thread; a handle, so it
  // cannot be a 32-bit value on a 64-bit platform.
  std::atomic<HANDLE> threadHandle{nullptr};
  std::atomic<int32_t> slowWait{0};        // 1 while waiting with 1 ms sleeps instead of yielding
};

inline SgControlRecord SgControl;

// A stop or the end of playback: the next run starts a fresh picture at the left edge, with
// labels.
inline void RequestFreshSpectrogram() {
  SgControl.column = 0;
  SgControl.clearRequest = 1;
  SgControl.returnedOnce = 0;
}

// The priority step last chosen for the spectrogram thread: 0 normal, 1 above normal. Play
// puts it back to 0.
inline std::atomic<int32_t> SgPriorityLevel{0};
// 1 while the spectrogram window is shown (command 64 hides and shows it).
inline std::atomic<int32_t> SgWindowShown{1};

// Set by the FFT thread together with SgControl.endOfData when it has passed the end of the
// sample data; a play command then clears endOfData.
inline std::atomic<int32_t> endOfDataMarker{0};
