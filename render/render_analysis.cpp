#include "render/render_analysis.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "analysis/spectrum_block.h"
#include "analysis/spectrum_filters.h"
#include "audio/playback_fft_size.h"
#include "render/render_source.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/spectrum_frame.h"

namespace {

SpectrumFeed feed;
// The cycle looks at these; the renderer has no device and no live input.
std::atomic<int32_t> running{1};
std::atomic<int32_t> noInput{0};

// Both buffers handed over, nothing of them heard yet: the frame heard now is the first of A.
constexpr int32_t kDevicePosition = 1;

// Each cycle halves (or thirds) what the history holds: after 32 a full-scale history is gone.
constexpr int32_t kSettlingCycles = 32;

}  // namespace

void StartRenderAnalysis() {
  SamplesPerFrame = Settings.fftsample / std::max(Settings.zerofill.load(), 1);
  PutChosenFftSizeInForce(Settings);
  feed = MakeSpectrumFeed(SampleStore, Settings, running, noInput);
  SampleStore.lastWritten = kPlayBufferB;
  SampleStore.writtenEnd = 2 * kPlayBufferBytes;
  SampleStore.seekBase = 0;
}

int64_t SoundFrameAt(double seconds) { return static_cast<int64_t>(std::floor(seconds * SampleStore.fileRate)); }

SpectrumCycle AnalyseFrameAt(int64_t frame, bool views) {
  const int64_t position = frame * feed.layout.blockAlign;
  SpectrumCycle cycle;
  LocateSpectrumFrame(feed, kDevicePosition, &cycle);
  cycle.views = views ? ViewCopyFor(feed.layout.channels, 0, 0) : ViewCopy::None;
  // Only the bytes the block reads: M frames (M·d with decimation), across both buffers.
  const int64_t wanted = static_cast<int64_t>(cycle.m) * cycle.decimation * feed.layout.blockAlign;
  const auto inA = static_cast<int32_t>(std::min<int64_t>(wanted, kPlayBufferBytes));
  ReadSourceSound(position, SampleStore.bufferA, inA);
  if (wanted > inA) {
    ReadSourceSound(position + inA, SampleStore.bufferB, static_cast<int32_t>(std::min<int64_t>(wanted - inA, kPlayBufferBytes)));
  }
  TakeSpectrumBlock(feed, cycle, PlayPosition{kPlayBufferA, 0, true});
  TransformSpectrumBlock(cycle);
  FinishSpectrum(cycle);
  return cycle;
}

double ProgramCycleRate() { return 1000.0 / std::max(Settings.fftwindowsleeptime.load(), 1); }

void ForgetSmoothing() { std::fill(std::begin(SmoothingHistory), std::end(SmoothingHistory), 0); }

SpectrumCycle AnalyseMoment(double seconds, bool views) {
  ForgetSmoothing();
  const double interval = 1.0 / ProgramCycleRate();
  for (int32_t k = kSettlingCycles; k >= 1; --k) {
    if (seconds - k * interval >= 0) AnalyseFrameAt(SoundFrameAt(seconds - k * interval), false);
  }
  return AnalyseFrameAt(SoundFrameAt(seconds), views);
}
