// The transport, status and level state as the program starts with it, and the message loop
// handled to empty, for the fixtures that drive playback or paint the main window.
#pragma once

#include <cstring>

#include "audio/level_meter.h"
#include "audio/main_display.h"
#include "audio/playback.h"
#include "audio/sample_store.h"
#include "platform/win32.h"
#include "spectrogram/sg_control.h"

namespace audio_test {

inline void ResetTransport() {
  playflag = 0;
  eflag = 0;
  buff = 0;
  inputRunning = 0;
  playPaused = 0;
  resumePending = 0;
  endCount = 0;
  lasterror = 0;
  lastErrorText = "";
  speedDoubleDecimate = 0;
  speedDoubleBlocks = 0;
  pitchHalf = 0;
  speedHalf = 0;
  WaveOutDevice = nullptr;
  statusEnabled = 0;
  statusText = 1;
  levelThreadOff = 1;
  levelHold = 0;
  SampleStore.lastWritten = kNoPlayBuffer;
  SampleStore.writtenEnd = 0;
  SampleStore.seekBase = 0;
  SampleStore.bytesRead = 0;
  SampleStore.readerBusy = 0;
  SampleStore.writerBusy = 0;
  SampleStore.dataSize = 0;
  SampleStore.WavFileName[0] = '\0';
  std::memset(SampleStore.bufferA, 0, sizeof SampleStore.bufferA);
  std::memset(SampleStore.bufferB, 0, sizeof SampleStore.bufferB);
  SgControl.column = 0;
  SgControl.clearRequest = 0;
  SgControl.returnedOnce = 0;
  SgControl.endOfData = 0;
  endOfDataMarker = 0;
}

// Handles every queued message as the message loop would.
inline void Pump() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
}

}  // namespace audio_test
