// The sound being played or recorded: the open WAV file and its format, the two play buffers the
// wave-out device plays in turn, and the counters that tie the device position to them. Also the
// transport flags and the mapping from the device position to the bytes being heard now.
//
// Written by the main window's thread only; the view threads read. Values they read while the
// main thread may change them are atomics. The play buffers are plain bytes because the device
// reads them through WAVEHDR.lpData; a view thread reading them while the main thread refills
// them must use PlayBufferLoad, and the refill must use PlayBufferStore / PlayBufferCopy, so that
// such a reader sees old or new bytes, never a torn value.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>

#include "platform/win32.h"

inline constexpr int32_t kPlayBufferBytes = 128000;
// The last byte a reader may use is 127999; a frame must start before it.
inline constexpr int32_t kPlayBufferReadLimit = kPlayBufferBytes - 1;
// One entry per recorded byte: twice the largest frame length (32768 samples of 16 bits).
inline constexpr int32_t kInputStageEntries = 65536;
inline constexpr int32_t kFileNameBytes = 500;

// Which play buffer: none before the first playback, then always one of the two.
enum PlayBufferId : int32_t { kNoPlayBuffer = 0, kPlayBufferA = 1, kPlayBufferB = 2 };

struct SampleStoreRecord {
  char WavFileName[kFileNameBytes] = {};  // the source file's path
  FILE* file = nullptr;                   // open until the process ends
  WAVEFORMATEX format = {};               // handed to waveOutOpen
  int32_t fileRate = 0;                   // the file's own sample rate
  int32_t fileChannels = 0;               // the file's channels; `format` holds the input's while it runs
  int32_t dataOffset = 0;                 // absolute offset of the first sample byte
  int32_t dataSize = 0;                   // bytes of sample data the data chunk declares
  std::atomic<int32_t> analysisRate{0};   // sample rate of the spectrum views; menus change it live
  int32_t blockAlign = 0;                 // bytes per sample frame
  int32_t fullScale = 0;                  // 2 to the power of the bits per sample
  std::atomic<float> durationSeconds{0.0f};  // dataSize / nAvgBytesPerSec; the FFT view reads it

  char bufferA[kPlayBufferBytes] = {};
  char bufferB[kPlayBufferBytes] = {};
  WAVEHDR headerA = {};
  WAVEHDR headerB = {};
  char scratch[kPlayBufferBytes] = {};  // read buffer of refills and speed modes

  std::atomic<int32_t> lastWritten{kNoPlayBuffer};  // PlayBufferId handed to the device last
  std::atomic<int32_t> writtenEnd{0};  // data position of the end of everything handed over
  std::atomic<int32_t> seekBase{0};    // data position at which the current device opening started
  int32_t bytesRead = 0;               // valid bytes of the last buffer filled
  std::atomic<int32_t> readerBusy{0};  // 1 while the FFT thread copies out of a play buffer
  std::atomic<int32_t> writerBusy{0};  // 1 while the main thread rewrites a play buffer

  std::atomic<int32_t> inputStage[kInputStageEntries];  // live input: one recorded byte each
  std::atomic<int32_t> inputReady{0};  // 1 when inputStage holds a block not yet taken (RaiseFlag)
};

// The program's one sample store.
extern SampleStoreRecord SampleStore;

// Transport flags, shown by the debug output as "playflag%d eflag%d buff%d     ".
extern std::atomic<int32_t> playflag;      // 1 while a source runs; view threads loop while it is 1
extern std::atomic<int32_t> eflag;         // 1 when no further buffer is to be handed to the device
extern std::atomic<int32_t> buff;          // buffers handed to the device since it was opened
extern std::atomic<int32_t> inputRunning;  // 1 while live input runs
extern std::atomic<int32_t> playPaused;    // 1 from a pause until the next play or stop

// The bytes of a play buffer; null for kNoPlayBuffer.
char* PlayBufferData(int32_t buffer);
// The other play buffer; kNoPlayBuffer stays kNoPlayBuffer.
int32_t OtherPlayBuffer(int32_t buffer);

// Byte access to play-buffer bytes that another thread may touch at the same time.
inline unsigned char PlayBufferLoad(const char* buffer, int32_t index) {
  return static_cast<unsigned char>(
      std::atomic_ref<char>(const_cast<char&>(buffer[index])).load(std::memory_order_relaxed));
}
inline void PlayBufferStore(char* buffer, int32_t index, unsigned char value) {
  std::atomic_ref<char>(buffer[index]).store(static_cast<char>(value), std::memory_order_relaxed);
}
void PlayBufferCopy(char* destination, const char* source, int32_t count);

// Where the sound heard now lies: a play buffer and the byte offset of a frame in it.
struct PlayPosition {
  int32_t buffer;  // PlayBufferId; kNoPlayBuffer before the first playback
  int32_t offset;  // a multiple of the frame size; may lie outside the buffer
  // Whether the named buffer holds a frame at `offset` (0 <= offset < 127999). Without frames a
  // reader reads nothing from that buffer.
  bool hasFrames;
};

// Maps `ahead`, the bytes handed to the device but not yet played, to the frame being heard.
// 128000 or more ahead lies in the older buffer (the one not written last). While nothing plays
// the buffer is the last one written, showing the last sound heard.
PlayPosition ComputePlayPosition(int32_t ahead, int32_t playing, int32_t lastWritten, int32_t blockAlign);
// The same with `playflag`, SampleStore.lastWritten and SampleStore.blockAlign.
PlayPosition ComputePlayPosition(int32_t ahead);

// The sample rate the spectrum views work at: the file's rate, divided by `downrateforfft` when
// that is 2 or 4.
int32_t AnalysisRateFor(int32_t fileRate, int32_t downrateforfft);
