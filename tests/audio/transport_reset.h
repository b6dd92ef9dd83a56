// The transport, status and level state as the program starts with it, and the message loop
// handled to empty, for the fixtures that drive playback or paint the main window.
#pragma once

#include <cstring>

#include "audio/level_meter.h"
#include "audio/main_display.h"
#include "audio/playback.h"
#include "platform/win32.h"
#include "shared/sample_store.h"
#include "shared/sg_control.h"

namespace audio_test {

inline void ResetTransport() {
  playflag = eflag = buff = inputRunning = playPaused = resumePending = endCount = 0;
  speedDoubleDecimate = speedDoubleBlocks = pitchHalf = speedHalf = statusEnabled = levelHold = 0;
  statusText = levelThreadOff = 1;
  lasterror = 0;
  lastErrorText = "";
  WaveOutDevice = nullptr;
  SampleStore.lastWritten = kNoPlayBuffer;
  SampleStore.writtenEnd = SampleStore.seekBase = SampleStore.bytesRead = SampleStore.readerBusy = 0;
  SampleStore.writerBusy = SampleStore.dataSize = 0;
  SampleStore.WavFileName[0] = '\0';
  std::memset(SampleStore.bufferA, 0, sizeof SampleStore.bufferA);
  std::memset(SampleStore.bufferB, 0, sizeof SampleStore.bufferB);
  SgControl.column = SgControl.clearRequest = SgControl.returnedOnce = SgControl.endOfData = endOfDataMarker = 0;
}

// Handles every queued message as the message loop would.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace audio_test
