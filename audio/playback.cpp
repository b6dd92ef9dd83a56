// The engine's device side: the start at creation, the first fill when the device reports
// itself open, the refill of each buffer it hands back, and the end of the file.
#include "audio/playback.h"

#include <cstdio>
#include <cstring>

#include "audio/level_meter.h"
#include "audio/main_display.h"
#include "audio/playback_device.h"
#include "audio/playback_exchange.h"
#include "audio/playback_transforms.h"
#include "shared/sample_store.h"
#include "shared/sg_control.h"
#include "shared/view_threads.h"

namespace {

// The pitch mode's working arrays, used by the main window's thread only.
PitchWorkspace PitchWork;

// The program waits this long after the last buffer came back before it closes the device.
constexpr DWORD kDrainMs = 100;
constexpr UINT kPitchRepaintMs = 1000;

SampleLayout SourceLayout() {
  return {SampleStore.blockAlign, SampleStore.format.wBitsPerSample, SampleStore.format.nChannels};
}

// The file's next play buffer of bytes into `scratch`. What lies beyond the file's end is
// silence in the file's own format (unsigned 8-bit samples are silent at 128), so neither the
// device nor a view ever takes stale bytes for sound.
int32_t ReadSource() {
  char* scratch = SampleStore.scratch;
  const size_t count = std::fread(scratch, 1, kPlayBufferBytes, SampleStore.file);
  std::memset(scratch + count, SampleStore.format.wBitsPerSample == 8 ? 128 : 0, kPlayBufferBytes - count);
  return static_cast<int32_t>(count);
}

bool SourceAtEnd() { return std::feof(SampleStore.file) != 0; }

// The whole of `scratch` into a play buffer, which the view threads may be reading.
void CopyScratchInto(char* buffer) {
  PlayBufferRewrite rewrite;
  PlayBufferCopy(buffer, SampleStore.scratch, kPlayBufferBytes);
}

void ApplyPitchMode(char* buffer) {
  HalvePitch(buffer, Playback.settings->fftsample, SourceLayout(), SampleStore.bufferA, PitchWork);
}

// The first fill of one buffer after an opening: the file's next bytes, the active modes, and
// the header's length set to the bytes the fill produced.
void FirstFill(int32_t which, WAVEHDR* header) {
  char* buffer = PlayBufferData(which);
  SampleStoreRecord& store = SampleStore;
  store.bytesRead = ReadSource();
  CopyScratchInto(buffer);
  if (speedDoubleDecimate == 1) {
    DecimateFrames(buffer, buffer, store.blockAlign);
    const int32_t count = ReadSource();
    DecimateFrames(buffer + kDecimatedBytes, store.scratch, store.blockAlign);
    store.bytesRead = (store.bytesRead + count) / 2;
  }
  if (speedDoubleBlocks == 1) {
    const int32_t count = ReadSource();
    ThinBlocks(buffer, store.scratch, ThinningBlockFrames(store.fileRate, Playback.settings->wavblockfanticonst),
               SourceLayout());
    store.bytesRead = (store.bytesRead + count) / 2;
  }
  if (pitchHalf == 1) ApplyPitchMode(buffer);
  header->dwBufferLength = static_cast<DWORD>(store.bytesRead);
  if (WritePlayHeader(header) == MMSYSERR_NOERROR) store.writtenEnd += kPlayBufferBytes;
  buff += 1;
  store.lastWritten = which;
}

// A returned buffer filled again: the file's next bytes (silence after its end), through the
// active modes. The header keeps the length the first fill gave it.
void Refill(int32_t which, WAVEHDR* header) {
  char* buffer = PlayBufferData(which);
  SampleStoreRecord& store = SampleStore;
  ReadSource();
  const bool anyMode = speedDoubleDecimate == 1 || speedDoubleBlocks == 1 || pitchHalf == 1;
  if (pitchHalf == 1 || speedDoubleBlocks == 1) CopyScratchInto(buffer);
  if (speedDoubleDecimate == 1) {
    DecimateFrames(buffer, store.scratch, store.blockAlign);
    ReadSource();
    DecimateFrames(buffer + kDecimatedBytes, store.scratch, store.blockAlign);
  }
  if (speedDoubleBlocks == 1) {
    ReadSource();
    ThinBlocks(buffer, store.scratch, ThinningBlockFrames(store.fileRate, Playback.settings->wavblockfanticonst),
               SourceLayout());
  }
  if (pitchHalf == 1) ApplyPitchMode(buffer);
  if (!anyMode) CopyScratchInto(buffer);
  store.lastWritten = which;
  WritePlayHeader(header);
  buff += 1;
  store.writtenEnd += kPlayBufferBytes;
  if (SourceAtEnd()) eflag = 1;
}

// The second buffer handed over before the end came back: playback is over.
void FinishPlayback(HWAVEOUT device) {
  playflag = 0;
  Sleep(kDrainMs);
  ClosePlaybackDevice(device);
  playPaused = 0;
  SampleStore.seekBase = 0;
  RequestFreshSpectrogram();
}

void StartRepaintTimer(UINT periodMs) { SetTimer(Playback.window, kRepaintTimer, periodMs, nullptr); }

int32_t PlayBufferOf(const WAVEHDR* header) {
  if (header == &SampleStore.headerA) return kPlayBufferA;
  if (header == &SampleStore.headerB) return kPlayBufferB;
  return kNoPlayBuffer;
}

}  // namespace

void StartPlaybackAtCreation(HWND mainWindow, SettingsRecord* settings) {
  Playback.window = mainWindow;
  Playback.settings = settings;
  playflag = 1;
  eflag = 0;
  levelHold = 0;
  buff = 0;
  SampleStoreRecord& store = SampleStore;
  store.headerA = WAVEHDR{};
  store.headerA.lpData = store.bufferA;
  store.headerA.dwBufferLength = kPlayBufferBytes;
  store.headerB = WAVEHDR{};
  store.headerB.lpData = store.bufferB;
  store.headerB.dwBufferLength = kPlayBufferBytes;
  if (OpenPlaybackDevice() != MMSYSERR_NOERROR) {
    MessageBoxA(nullptr, "dont open wave device.", "", MB_OK);
    ExitProcess(1);
  }
  PreparePlayHeaders();
  store.durationSeconds = static_cast<float>(store.dataSize) / static_cast<float>(store.format.nAvgBytesPerSec);
  StartViewThreads(ViewStart::Creation);
}

void OnDeviceOpened(HWAVEOUT device) {
  if (device != WaveOutDevice) return;
  // Stopped between the opening and this message (a stop typed right behind a play): there is
  // nothing to play, and a device without buffers would never be closed by a returning one.
  if (playflag == 0) {
    ClosePlaybackDevice(device);
    return;
  }
  buff = 0;
  statusEnabled = 1;
  const UINT repaintMs = static_cast<UINT>(Playback.settings->mainwindowinvailintervalvariable.load());
  FirstFill(kPlayBufferA, &SampleStore.headerA);
  if (SourceAtEnd()) {
    SampleStore.headerB.dwBufferLength = 0;
    WritePlayHeader(&SampleStore.headerB);
    StartRepaintTimer(repaintMs);
    eflag = 1;
    return;
  }
  FirstFill(kPlayBufferB, &SampleStore.headerB);
  if (SourceAtEnd()) eflag = 1;
  StartRepaintTimer(pitchHalf == 1 ? kPitchRepaintMs : repaintMs);
}

void OnBufferDone(HWAVEOUT device, WAVEHDR* header) {
  // A device replaced by a newer opening only needs closing once its buffers are back.
  if (playflag == 0 || device != WaveOutDevice) {
    ClosePlaybackDevice(device);
    return;
  }
  if (eflag == 1) {
    endCount += 1;
    if (endCount < 2) return;
    FinishPlayback(device);
    return;
  }
  const int32_t which = PlayBufferOf(header);
  if (which != kNoPlayBuffer) Refill(which, header);
}

void OnDeviceClosed(HWAVEOUT device) {
  if (device != WaveOutDevice) return;
  waveOutUnprepareHeader(device, &SampleStore.headerA, sizeof(WAVEHDR));
  waveOutUnprepareHeader(device, &SampleStore.headerB, sizeof(WAVEHDR));
}
