#include "audio/live_input.h"

#include <algorithm>

#include "app/thread_priorities.h"
#include "audio/playback.h"
#include "audio/playback_fft_size.h"
#include "shared/flag_wait.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/spectrum_frame.h"
#include "shared/view_threads.h"

std::atomic<int32_t> inputStop{0};
std::atomic<HWAVEIN> WaveInDevice{nullptr};

namespace {

constexpr int32_t kInputBytesPerSample = 2;
constexpr int32_t kInputFullScale = 65536;

WAVEHDR recordA{};
WAVEHDR recordB{};

// What the views compute with: the format record and the values derived from it when the file
// was opened. The file's are kept while input runs.
struct SourceFormat {
  WAVEFORMATEX format;
  int32_t blockAlign;
  int32_t fullScale;
  int32_t analysisRate;
};
SourceFormat savedFile{};

SourceFormat CurrentSource() {
  return {SampleStore.format, SampleStore.blockAlign, SampleStore.fullScale, SampleStore.analysisRate};
}

// The view threads of the run before read these fields until they notice its stop, so a switch
// waits for them to end; one that outlasts the wait is refused rather than raced.
constexpr DWORD kPreviousViewsEndWaitMs = 2000;

bool PreviousViewThreadsEnded() {
  for (int32_t kind = 0; kind < kViewKindCount; ++kind) {
    if (!WaitForViewThreadEnd(static_cast<ViewKind>(kind), kPreviousViewsEndWaitMs)) return false;
  }
  return true;
}

void UseSource(const SourceFormat& source) {
  SampleStore.format = source.format;
  SampleStore.blockAlign = source.blockAlign;
  SampleStore.fullScale = source.fullScale;
  SampleStore.analysisRate = source.analysisRate;
}

// The analysis of recorded sound works at the input's own rate: the rate converter of the file
// analysis does not apply to it.
constexpr SourceFormat kInputSource = {kInputFormat, kInputFormat.nBlockAlign, kInputFullScale,
                                       static_cast<int32_t>(kInputFormat.nSamplesPerSec)};

// Bytes of one recorded block: two per sample of the frame in force.
int32_t BlockBytes() { return kInputBytesPerSample * std::clamp(SamplesPerFrame.load(), 0, kInputStageEntries / 2); }

void ClearPlayBuffers() {
  for (int32_t i = 0; i < kPlayBufferBytes; ++i) {
    PlayBufferStore(SampleStore.bufferA, i, 0);
    PlayBufferStore(SampleStore.bufferB, i, 0);
  }
}

void SetRecordHeaders(int32_t bytes) {
  recordA = WAVEHDR{};
  recordA.lpData = SampleStore.bufferA;
  recordA.dwBufferLength = static_cast<DWORD>(bytes);
  recordB = WAVEHDR{};
  recordB.lpData = SampleStore.bufferB;
  recordB.dwBufferLength = static_cast<DWORD>(bytes);
}

void Unprepare(HWAVEIN device) {
  waveInUnprepareHeader(device, &recordA, sizeof(WAVEHDR));
  waveInUnprepareHeader(device, &recordB, sizeof(WAVEHDR));
}

}  // namespace

void StartInput(HWND mainWindow) {
  if (playflag == 1 || resumePending == 1 || inputRunning == 1) return;
  if (!PreviousViewThreadsEnded()) return;
  ClearPlayBuffers();
  savedFile = CurrentSource();
  UseSource(kInputSource);
  ResetThreadPriorityLevels();
  HWAVEIN device = nullptr;
  if (waveInOpen(&device, WAVE_MAPPER, &kInputFormat, reinterpret_cast<DWORD_PTR>(mainWindow), 0, CALLBACK_WINDOW) !=
      MMSYSERR_NOERROR) {
    UseSource(savedFile);
    MessageBoxA(nullptr, "waveinopen fail\n", "", MB_OK);
    return;
  }
  WaveInDevice = device;
  // The block length follows the frame in force, so the size chosen before the start is the one
  // recorded: a block shorter than the frame would be analysed with a silent tail.
  PutChosenFftSizeInForce(Settings);
  SetRecordHeaders(BlockBytes());
  waveInPrepareHeader(device, &recordA, sizeof(WAVEHDR));
  waveInPrepareHeader(device, &recordB, sizeof(WAVEHDR));
  playflag = 1;
  inputRunning = 1;
  StartViewThreads(ViewStart::LiveInput);
  inputStop = 0;
}

void StopInput() {
  if (inputRunning != 1) return;
  inputStop = 1;
  playflag = 0;
}

void OnInputOpened(HWAVEIN device) {
  if (device != WaveInDevice) return;
  waveInAddBuffer(device, &recordA, sizeof(WAVEHDR));
  waveInAddBuffer(device, &recordB, sizeof(WAVEHDR));
  waveInStart(device);
}

void OnInputData(HWAVEIN device, WAVEHDR* header) {
  if (device != WaveInDevice || (header != &recordA && header != &recordB)) return;
  // The device refuses to close while the other buffer is still queued; its return closes it.
  if (inputStop == 1) {
    waveInClose(device);
    return;
  }
  while (SampleStore.readerBusy.load() != 0) Sleep(1);
  // The frame's length now (an interpolation command may have changed it), whatever the device
  // recorded: the rest of the buffer holds silence.
  const int32_t bytes = BlockBytes();
  const auto* data = reinterpret_cast<const unsigned char*>(header->lpData);
  for (int32_t i = 0; i < bytes; ++i) SampleStore.inputStage[i].store(data[i], std::memory_order_relaxed);
  RaiseFlag(SampleStore.inputReady);
  waveInAddBuffer(device, header, sizeof(WAVEHDR));
}

void OnInputClosed(HWAVEIN device) {
  if (device != WaveInDevice) return;
  Unprepare(device);
  // The input's view threads end with the stop; the file's format comes back once they have.
  PreviousViewThreadsEnded();
  UseSource(savedFile);
  WaveInDevice = nullptr;
  inputRunning = 0;
}

void StopInputAtDestruction() {
  const HWAVEIN device = WaveInDevice.exchange(nullptr);
  if (!device) return;
  inputStop = 1;
  waveInReset(device);
  Unprepare(device);
  waveInClose(device);
}
