// A WAV file on the path the program takes with it: the header is read, the file opened as the
// source, the device opened on its format, both play buffers filled, the buffers the device
// hands back refilled until the end, and one analysis cycle run on what is heard, in every
// speed and pitch mode and with the settings the analysis and the modes depend on.
//
// Input: kControlBytes that choose the modes and settings, then the file. The file is followed
// by a copy of its own bytes, repeated to a length the control chooses, so that a small input
// still reaches the refills.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "analysis/spectrum_cycle.h"
#include "analysis/window_function.h"
#include "app/settings_keys.h"
#include "audio/playback.h"
#include "audio/playback_device.h"
#include "audio/source_file.h"
#include "audio/wav_reader.h"
#include "platform/wave/device_selection.h"
#include "platform/wave/virtual_clock.h"
#include "platform/win32.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/spectrum_frame.h"
#include "shared/view_threads.h"

// The transport state as the program starts with it, shared with the playback tests.
#include "../tests/audio/transport_reset.h"

namespace {

constexpr size_t kControlBytes = 8;
constexpr int32_t kTailStepBytes = 40000;
// Enough returned buffers to pass through every refill step; the end usually comes sooner.
constexpr int kMostRefills = 4;

// The main window's part in playback: device messages to the engine, the play command posted
// after a jump.
LRESULT CALLBACK EngineWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  const auto device = reinterpret_cast<HWAVEOUT>(wParam);
  switch (msg) {
    case MM_WOM_OPEN:
      OnDeviceOpened(device);
      return 0;
    case MM_WOM_DONE:
      OnBufferDone(device, reinterpret_cast<WAVEHDR*>(lParam));
      return 0;
    case MM_WOM_CLOSE:
      OnDeviceClosed(device);
      return 0;
    default:
      return DefWindowProcA(hwnd, msg, wParam, lParam);
  }
}

struct Harness {
  Harness() {
    // No view threads: nothing is drawn here, and the analysis cycle runs on this thread.
    for (int32_t kind = 0; kind < kViewKindCount; ++kind) {
      RegisterViewThread(static_cast<ViewKind>(kind), nullptr, nullptr);
    }
    WNDCLASSA cls{};
    cls.lpfnWndProc = EngineWindowProc;
    cls.lpszClassName = "wav fuzz engine";
    if (RegisterClassA(&cls) == 0) std::abort();
    window = CreateWindowExA(0, cls.lpszClassName, "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                             nullptr, nullptr);
    // In memory: the file is written anew for every input.
    const std::filesystem::path base =
        std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
    dir = (base / "morvex-wav-fuzz-XXXXXX").string();
    if (window == nullptr || mkdtemp(dir.data()) == nullptr) std::abort();
    path = dir + "/source.wav";
  }
  ~Harness() {
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
  HWND window = nullptr;
  std::string dir;
  std::string path;
  std::vector<uint8_t> file;
};

Harness& TheHarness() {
  static Harness harness;
  return harness;
}

void Pump() { audio_test::Pump(); }

void SetSetting(SettingsRecord& settings, SettingsField field, int32_t value) {
  settings.*field = UsableSettingValue(field, value);
}

// The settings a run plays and analyses by, as a settings file could have set them.
void ChooseSettings(const uint8_t* control, SettingsRecord& settings) {
  const int32_t size = 64 << (control[1] % 10);
  SetSetting(settings, &SettingsRecord::fftsample, size);
  SetSetting(settings, &SettingsRecord::fftsampleRequested, size);
  static constexpr int32_t kZeroFills[] = {1, 2, 4, 3};
  static constexpr int32_t kDownRates[] = {0, 2, 4, 1};
  SetSetting(settings, &SettingsRecord::zerofill, kZeroFills[(control[1] >> 4) & 3]);
  SetSetting(settings, &SettingsRecord::downrateforfft, kDownRates[control[1] >> 6]);
  SetSetting(settings, &SettingsRecord::wavblockfanticonst, static_cast<int8_t>(control[2]));
  settings.wfkind = static_cast<char>(control[3]);
  settings.fftradix4flag = control[4] & 1;
  settings.fftradix4flagRequested = control[4] & 1;
  settings.pinknoizeflatingfilter = (control[4] >> 1) & 1;
  settings.loudnessrevice = (control[4] >> 2) & 1;
  settings.vswindowstop = (control[4] >> 3) & 1;
  settings.wavwindowstop = (control[4] >> 4) & 1;
  settings.smoothingfilter = static_cast<int8_t>(control[5]);
  SetSetting(settings, &SettingsRecord::playfreqoptional, control[6] == 0 ? 0 : control[6] * 4000 - 3);
}

// Decimation and block thinning exclude each other, as in the menus.
void ChooseModes(uint8_t modes) {
  speedDoubleDecimate = modes & 1;
  speedDoubleBlocks = (modes & 1) == 0 ? (modes >> 1) & 1 : 0;
  pitchHalf = (modes >> 2) & 1;
  speedHalf = (modes >> 3) & 1;
}

// The source file: the input's file bytes, then copies of them up to the chosen length.
void WriteSource(Harness& h, const uint8_t* bytes, size_t size, size_t tail) {
  h.file.assign(bytes, bytes + size);
  for (size_t added = 0; added < tail && size > 0; added += size) {
    h.file.insert(h.file.end(), bytes, bytes + std::min(size, tail - added));
  }
  FILE* out = std::fopen(h.path.c_str(), "wb");
  if (out == nullptr || std::fwrite(h.file.data(), 1, h.file.size(), out) != h.file.size() || std::fclose(out) != 0) {
    std::abort();
  }
}

// A header the program refuses ends it with a message; that path is not the fuzzer's.
bool HeaderAccepted(const std::string& path) {
  FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) std::abort();
  WAVEFORMATEX format{};
  WavHeader header;
  const bool accepted = ParseWavHeader(file, &format, &header) == kWavHeaderOk;
  std::fclose(file);
  return accepted;
}

// Playing time of one play buffer on the device's format.
std::chrono::nanoseconds BufferTime() {
  const int64_t perSecond = std::max<int64_t>(SampleStore.format.nAvgBytesPerSec, 1);
  return std::chrono::nanoseconds(int64_t{kPlayBufferBytes} * 1000000000 / perSecond + 1);
}

// The computing half of an FFT thread's cycle at the device's position.
void AnalyseOnce(const SettingsRecord& settings) {
  SamplesPerFrame = settings.fftsample / settings.zerofill;
  WindowRebuild = 1;
  const SpectrumFeed feed = MakeSpectrumFeed(SampleStore, settings, playflag, inputRunning);
  SpectrumCycle cycle;
  if (LocateSpectrumFrame(feed, PlaybackDevicePosition(), &cycle) != SpectrumFrame::Ready) return;
  if (!TakeSpectrumBlock(feed, cycle, ComputePlayPosition(cycle.ahead))) return;
  TransformSpectrumBlock(cycle);
  FinishSpectrum(cycle);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < kControlBytes) return 0;
  Harness& h = TheHarness();
  const uint8_t* control = data;
  WriteSource(h, data + kControlBytes, size - kControlBytes, size_t{(control[0] >> 5) & 7u} * kTailStepBytes);
  if (!HeaderAccepted(h.path)) return 0;

  audio_test::ResetTransport();
  morvex::wave::VirtualClock clock;
  morvex::wave::UseVirtualClockDevices(&clock);
  SettingsRecord settings;
  ChooseSettings(control, settings);
  std::snprintf(SampleStore.WavFileName, sizeof SampleStore.WavFileName, "%s", h.path.c_str());
  OpenSourceFile(nullptr, settings.downrateforfft);

  ChooseModes(control[0]);
  StartPlaybackAtCreation(h.window, &settings);
  Pump();
  // A later start: the rate override, half speed and the chosen FFT size come into force.
  if ((control[0] >> 4) & 1) {
    Stop();
    Pump();
    Play();
    Pump();
  }
  for (int i = 0; i < kMostRefills && playflag == 1 && eflag == 0; ++i) {
    clock.Advance(BufferTime());
    Pump();
  }
  // Half a buffer further: the device is inside the data handed to it.
  clock.Advance(BufferTime() / 2);
  AnalyseOnce(settings);

  StopPlaybackAtDestruction();
  Pump();
  std::fclose(SampleStore.file);
  SampleStore.file = nullptr;
  morvex::wave::UseSystemDevices();
  return 0;
}
