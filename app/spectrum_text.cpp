#include "app/spectrum_text.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "analysis/fft_thread.h"
#include "app/debug_text_window.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/shared_spectrum.h"

namespace {

constexpr int32_t kTextBytes = 20030;
// The text is planned at 17 characters a line and ends before that estimate passes 20000.
constexpr int32_t kEstimatedLineLength = 17;
constexpr int32_t kEstimateLimit = 20000;

// Static: the command allocates nothing, so it can never fail for want of memory.
char text[kTextBytes];
int32_t bins[kSpectrumRoom];

}  // namespace

void ShowSpectrumAsText() {
  if (FftStopRequest != 0) return;
  if (SharedSpectrum.ready == 1) Sleep(0);
  const int32_t published = CopySpectrum(bins, kSpectrumRoom);
  if (published < kSpectrumRoom) std::memset(bins + published, 0, sizeof(int32_t) * (kSpectrumRoom - published));

  const int32_t n = Settings.fftsample;
  const int32_t last = n > 0 ? n / 2 : -1;
  int32_t length = 0;
  int32_t estimate = 0;
  text[0] = '\0';
  for (int32_t i = 0; i <= last && i < kSpectrumRoom; ++i) {
    if (estimate + kEstimatedLineLength > kEstimateLimit) break;
    estimate += kEstimatedLineLength;
    const auto hz = static_cast<int32_t>(int64_t{SampleStore.fileRate} * i / n);
    const int written = std::snprintf(text + length, static_cast<size_t>(kTextBytes - length), "%5dhz %5d\n", hz, bins[i]);
    // A line with wider numbers than planned that would not fit ends the text before it.
    if (written < 0 || length + written >= kTextBytes) {
      text[length] = '\0';
      break;
    }
    length += written;
  }
  DebugTextClear();
  DebugTextAppend(text);
}
