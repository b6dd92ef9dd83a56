#include "app/debug_reports.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "analysis/fft_window.h"
#include "analysis/fft_thread.h"
#include "shared/shared_spectrum.h"
#include "analysis/window_function.h"
#include "shared/settings.h"
#include "app/startup.h"
#include "audio/level_meter_thread.h"
#include "audio/main_display.h"
#include "audio/playback.h"
#include "shared/sample_store.h"
#include "shared/sg_control.h"
#include "views/vectorscope_thread.h"
#include "views/waveform_thread.h"

namespace {

constexpr size_t kTextBytes = 512;

void ShowDebugBox(const char* text) { MessageBoxA(nullptr, text, "debug", MB_OK); }

// A thread id for "%x": DWORD is unsigned long on Windows and unsigned int elsewhere.
unsigned Hex(DWORD id) { return static_cast<unsigned>(id); }

void ShowThreadIds() {
  const DWORD main = MainThreadId;
  const auto sg = static_cast<DWORD>(SgControl.threadId.load());
  const DWORD fft = FftThreadId;
  const DWORD level = levelMeterThreadId;
  const DWORD vs = VsThreadId;
  const DWORD wav = WavThreadId;
  // The sound devices' threads belong to the platform layer, not to the program: "wave?" is 0.
  const DWORD device = 0;
  char text[kTextBytes];
  std::snprintf(text, sizeof text,
                "threadID:main %d(%x) sg %d(%x)(handle%d) fft %d(%x) level %d(%x) vs %d(%x) wave? %d(%x) wavgph "
                "%d(%x)      ",
                static_cast<int>(main), Hex(main), static_cast<int>(sg), Hex(sg),
                static_cast<int>(reinterpret_cast<intptr_t>(SgControl.threadHandle.load())), static_cast<int>(fft),
                Hex(fft), static_cast<int>(level), Hex(level), static_cast<int>(vs), Hex(vs), static_cast<int>(device),
                Hex(device), static_cast<int>(wav), Hex(wav));
  ShowDebugBox(text);
}

void ShowErrorState() {
  const uint32_t error = lasterror;
  char text[kTextBytes];
  int length = std::snprintf(text, sizeof text, error != 0 ? "errordetected:lasterror%d  " : "lasterror=%d  ",
                             static_cast<int>(error));
  const char* errorText = lastErrorText;
  if (errorText && errorText[0] != '\0') {
    std::snprintf(text + length, sizeof text - static_cast<size_t>(length), "\nlasterrorstr:%s", errorText);
  }
  ShowDebugBox(text);
}

void ShowLevelThreadInfo() {
  char text[kTextBytes];
  FormatLevelThreadInfo(text, sizeof text);
  ShowDebugBox(text);
}

void ShowTransportFlags() {
  char text[kTextBytes];
  std::snprintf(text, sizeof text, "playflag%d eflag%d buff%d     ", playflag.load(), eflag.load(), buff.load());
  ShowDebugBox(text);
}

void ShowSettingsPath() {
  char text[kTextBytes + kStartupPathBytes];
  std::snprintf(text, sizeof text, "inifullpath'%s'   ", SettingsPath);
  ShowDebugBox(text);
}

void ShowClientSizes() {
  const ClientSize main = MainClientSize();
  const FftWindowSize fft = FftWindowClientSize();
  char text[kTextBytes];
  std::snprintf(text, sizeof text, "main %d,%d(max%d,%d)px%dpy%d sg %d,%d fft %d,%d      ", main.width, main.height,
                GetSystemMetrics(SM_CXFULLSCREEN), GetSystemMetrics(SM_CYFULLSCREEN), Settings.mainwindowpx.load(),
                Settings.mainwindowpy.load(), SgControl.clientWidth.load(), SgControl.clientHeight.load(), fft.width,
                fft.height);
  ShowDebugBox(text);
}

// The first largest of bins 0 ... fftsample/2 - 1.
void ShowPeak() {
  static int32_t bins[kSpectrumRoom];
  const int32_t n = Settings.fftsample;
  const int32_t published = CopySpectrum(bins, kSpectrumRoom);
  const int32_t half = n / 2 < published ? n / 2 : published;
  int32_t peak = 0;
  for (int32_t i = 1; i < half; ++i) {
    if (bins[i] > bins[peak]) peak = i;
  }
  const int32_t value = half > 0 ? bins[peak] : 0;
  const auto hz = n > 0 ? static_cast<int32_t>(int64_t{SampleStore.analysisRate} * peak / n) : 0;
  char text[kTextBytes];
  std::snprintf(text, sizeof text, "peak%dhz %d   ", hz, value);
  ShowDebugBox(text);
}

// Without a debugger the breakpoint would end the process; it is not raised then.
void BreakIntoDebugger() {
  if (IsDebuggerPresent()) {
    DebugBreak();
    return;
  }
  ShowDebugBox("int3: no debugger is attached, so no breakpoint was raised.");
}

void ShowVersion() {
  char text[kTextBytes];
  std::snprintf(text, sizeof text, "dos %x win", static_cast<unsigned>(GetVersion()));
  MessageBoxA(nullptr, text, "", MB_OK);
}

}  // namespace

bool OnDebugReportCommand(UINT id) {
  switch (id) {
    case 98: ShowThreadIds(); return true;
    case 99: ShowErrorState(); return true;
    case 100: ShowLevelThreadInfo(); return true;
    case 117: ShowTransportFlags(); return true;
    case 119: ShowSettingsPath(); return true;
    case 122: ShowClientSizes(); return true;
    case 126: ShowPeak(); return true;
    case 157: BreakIntoDebugger(); return true;
    case 164: ShowVersion(); return true;
    case 166: WindowRebuild = 1; return true;
    default: return false;
  }
}
