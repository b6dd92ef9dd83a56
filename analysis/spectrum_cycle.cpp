#include "analysis/spectrum_cycle.h"

#include <algorithm>

#include "analysis/fft_arith.h"
#include "analysis/spectrum_filters.h"
#include "analysis/window_function.h"
#include "shared/flag_wait.h"
#include "shared/playback_rate.h"
#include "shared/sg_control.h"
#include "shared/spectrum_frame.h"
#include "shared/spectrum_view_samples.h"

alignas(64) int32_t FftBlock[kFftBlockRoom];
alignas(64) int32_t FftRe[kFftMaxSize];
alignas(64) int32_t FftIm[kFftMaxSize];
alignas(64) int32_t FftScratchA[kFftMaxSize];
alignas(64) int32_t FftScratchB[kFftMaxSize];
alignas(64) int32_t SpectrumBins[kSpectrumRoom];

std::atomic<int32_t> FftLatencyMs{0};

namespace {

// A recorded block comes every few tens of milliseconds and wakes the wait for it; this is how
// soon that wait notices that the input or the run has ended.
constexpr DWORD kInputCheckMs = 10;

// The bytes of play buffer `buffer` of `store`; null for none.
const char* BufferBytes(const SampleStoreRecord& store, int32_t buffer) {
  if (buffer == kPlayBufferA) return store.bufferA;
  if (buffer == kPlayBufferB) return store.bufferB;
  return nullptr;
}

// The copy out of the play buffers: from the frame heard now to the end of its buffer, then on
// at the start of the newer buffer when the one read first was the older, then zeros.
void CopyPlayedBlock(const SpectrumFeed& feed, const SpectrumCycle& cycle, const PlayPosition& where) {
  const SampleStoreRecord& store = *feed.store;
  const int32_t count = cycle.m * cycle.decimation;
  const int32_t newer = store.lastWritten.load();
  int32_t taken = 0;
  if (where.hasFrames) {
    taken = CopyPlayedFrames(BufferBytes(store, where.buffer), where.offset, feed.layout, cycle.views, FftBlock, 0,
                             count);
  }
  if (taken < count && where.buffer != newer) {
    taken = CopyPlayedFrames(BufferBytes(store, newer), 0, feed.layout, cycle.views, FftBlock, taken, count);
  }
  std::fill(FftBlock + taken, FftBlock + count, 0);
}

// The next recorded block, once the input has delivered one. False when the input or the run
// ends first: waiting on would never end.
bool TakeInputBlock(const SpectrumFeed& feed, const SpectrumCycle& cycle) {
  SampleStoreRecord& store = *feed.store;
  while (store.inputReady.load() != 1) {
    if (feed.playflag->load() == 0 || feed.inputRunning->load() == 0) return false;
    SleepOnFlag(store.inputReady, kInputCheckMs);
  }
  store.inputReady = 0;
  store.readerBusy = 1;
  CopyInputBlock(store.inputStage, cycle.m, FftBlock);
  store.readerBusy = 0;
  return true;
}

// |re| + |im|, the magnitudes as unsigned values (the absolute value of the most negative 32-bit
// number is representable there). Held at the largest 32-bit magnitude instead of wrapping: only
// a transform that has itself overflowed gets there.
void Magnitudes(const int32_t* re, const int32_t* im, int32_t n, int32_t* bins) {
  for (int32_t k = 0; k < n; ++k) {
    const uint32_t a = re[k] < 0 ? 0u - static_cast<uint32_t>(re[k]) : static_cast<uint32_t>(re[k]);
    const uint32_t b = im[k] < 0 ? 0u - static_cast<uint32_t>(im[k]) : static_cast<uint32_t>(im[k]);
    const uint32_t sum = a + b;
    const bool wrapped = sum < a;
    bins[k] = static_cast<int32_t>(wrapped ? uint32_t{INT32_MAX} : std::min(sum, uint32_t{INT32_MAX}));
  }
}

}  // namespace

SpectrumFeed MakeSpectrumFeed(SampleStoreRecord& store, const SettingsRecord& settings,
                              const std::atomic<int32_t>& playflag, const std::atomic<int32_t>& inputRunning) {
  SpectrumFeed feed;
  feed.store = &store;
  feed.settings = &settings;
  feed.playflag = &playflag;
  feed.inputRunning = &inputRunning;
  feed.layout.channels = store.format.nChannels;
  feed.layout.bitsPerSample = store.format.wBitsPerSample;
  feed.layout.blockAlign = store.format.nBlockAlign;
  feed.bytesPerMs = static_cast<int32_t>(PlaybackBytesPerSecond(store.format) / 1000);
  return feed;
}

SpectrumFrame LocateSpectrumFrame(const SpectrumFeed& feed, int32_t devicePosition, SpectrumCycle* cycle) {
  const SampleStoreRecord& store = *feed.store;
  const int32_t liveInput = feed.inputRunning->load();
  if (devicePosition == 0 && liveInput == 0) return SpectrumFrame::Waiting;
  const int32_t writtenEnd = store.writtenEnd.load();
  // In 64 bits: a long stall makes the latency term large, and the position must not wrap into
  // something that looks usable. Live input reads no play buffer: what the last file left in the
  // counters must not hold it up.
  const int64_t ahead = liveInput == 1 ? 0
                                       : static_cast<int64_t>(writtenEnd) -
                                             (static_cast<int64_t>(devicePosition) + store.seekBase.load() +
                                              static_cast<int64_t>(FftLatencyMs.load()) * feed.bytesPerMs);
  if (ahead > 2 * kPlayBufferBytes) return SpectrumFrame::Unusable;
  if (ahead < 0) {
    if (writtenEnd > store.dataSize && SgControl.stopped.load() == 0) {
      SgControl.endOfData = 1;
      endOfDataMarker = 1;
    }
    return SpectrumFrame::Unusable;
  }
  const SettingsRecord& settings = *feed.settings;
  cycle->ahead = static_cast<int32_t>(ahead);
  cycle->n = std::clamp(settings.fftsample.load(), 0, kFftMaxSize);
  cycle->m = std::clamp(SamplesPerFrame.load(), 0, cycle->n);
  const int32_t downrate = settings.downrateforfft.load();
  cycle->decimation = downrate == 2 || downrate == 4 ? downrate : 1;
  cycle->rate = store.analysisRate;
  cycle->wfkind = settings.wfkind.load();
  cycle->radix4 = settings.fftradix4flag.load();
  cycle->pinkNoise = settings.pinknoizeflatingfilter.load();
  cycle->loudness = settings.loudnessrevice.load();
  cycle->smoothing = settings.smoothingfilter.load();
  cycle->views = ViewCopyFor(feed.layout.channels, settings.vswindowstop.load(), settings.wavwindowstop.load());
  cycle->liveInput = liveInput;
  return SpectrumFrame::Ready;
}

bool TakeSpectrumBlock(const SpectrumFeed& feed, const SpectrumCycle& cycle, const PlayPosition& where) {
  SampleStoreRecord& store = *feed.store;
  while (store.writerBusy.load() != 0) Sleep(0);
  store.readerBusy = 1;
  if (cycle.liveInput == 0) CopyPlayedBlock(feed, cycle, where);
  store.readerBusy = 0;
  // During live input the block is replaced below; decimating the old one would change nothing.
  if (cycle.liveInput == 0 && cycle.decimation > 1) DecimateBlock(FftBlock, cycle.m, cycle.n, cycle.decimation);
  RaiseFlag(ViewSamplesReady);
  if (cycle.liveInput == 1 && !TakeInputBlock(feed, cycle)) return false;
  WindowSamples(FftBlock, cycle.wfkind, cycle.m);
  std::fill(FftBlock + cycle.m, FftBlock + cycle.n, 0);
  return true;
}

void TransformSpectrumBlock(const SpectrumCycle& cycle) {
  if (cycle.radix4 == 1) {
    FftRadix4(FftBlock, cycle.n, FftIm, FftRe, FftScratchA, FftScratchB);
  } else if (cycle.n > 0) {
    FftRadix2(FftBlock, cycle.n, FftIm, FftRe, FftScratchA, FftScratchB, kTwoPi / static_cast<float>(cycle.n));
  }
}

void FinishSpectrum(const SpectrumCycle& cycle) {
  Magnitudes(FftRe, FftIm, cycle.n, SpectrumBins);
  if (cycle.pinkNoise == 1) FlattenPinkNoise(SpectrumBins, cycle.n, cycle.rate);
  if (cycle.loudness == 1) CorrectLoudness(SpectrumBins, cycle.n, cycle.rate);
  SmoothInTime(SpectrumBins, cycle.n, cycle.smoothing, SmoothingHistory);
  PublishSpectrum(SpectrumBins, cycle.n);
}
