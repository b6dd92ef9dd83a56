// The whole program in the test process, driven as a user drives it: its real start-up
// (WinMain) and main window on the in-memory display, input handed to it through the display
// (scripted_display.h), sound through ALSA's default device into a listener
// (device_listener.h). A stereo file plays for about ten seconds with every view open,
// through pause, the 5-second jumps, stop and play, every speed and pitch mode and a playback
// rate, a resize of every view, FFT size and window function changes and a menu held open,
// and the program is ended by SIGTERM. Every stream the device received must be exactly what
// playback defines for its start and mode. The sanitizer builds run this same test.
#include <gtest/gtest.h>

#include <signal.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "analysis/fft_window.h"
#include "shared/settings.h"
#include "audio/playback.h"
#include "app/startup.h"
#include "audio/playback_transforms.h"
#include "drive/device_listener.h"
#include "drive/scripted_display.h"
#include "platform/display/display_backend.h"
#include "platform/kernel/process_start.h"
#include "platform/kernel/signals.h"
#include "platform/user/window_info.h"
#include "spectrogram/sg_window.h"
#include "support/temp_dir.h"
#include "support/wav_bytes.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace {

using namespace std::chrono_literals;
using drive_test::DeviceListener;
using drive_test::ScriptedDisplay;

constexpr int kFrameBytes = 4;  // 16-bit stereo
constexpr int kFileRate = 44100;
constexpr int kBytesPerSecond = kFileRate * kFrameBytes;
constexpr int64_t kJumpBytes = 5 * kBytesPerSecond;
constexpr size_t kHeaderBytes = 44;  // of each stream the device plugin writes
constexpr size_t kBuffer = kPlayBufferBytes;
// Both buffers of the first fill and a frame of the first refill.
constexpr size_t kIntoFirstRefill = 2 * kBuffer + kFrameBytes;

enum class Mode { Plain, DecimatedDouble, BlockDouble, PitchHalf };
// Where a stream starts: the file's beginning, where the last one ended, or 5 s beyond it.
enum class From { Beginning, Continue, JumpForward, JumpBack };

struct StreamPlan {
  From from;
  Mode mode;
  int rate;
  int fftsize;  // the transform size in force, the block length of the pitch mode
};

// Noise that never repeats within the file.
std::string Noise(size_t bytes) {
  std::string noise(bytes, '\0');
  uint32_t state = 12345;
  for (char& c : noise) {
    state = state * 1664525u + 1013904223u;
    c = static_cast<char>(state >> 24);
  }
  return noise;
}

// What playback hands the device for `length` bytes from file data byte `start` in `mode`:
// whole play buffers made from the file's bytes the way the first fill and the refills do.
std::string Delivered(const std::string& data, int64_t start, const StreamPlan& plan, size_t length, int blocksPerSecond) {
  const SampleLayout layout{kFrameBytes, 16, 2};
  auto work = std::make_unique<PitchWorkspace>();
  std::string out, bufferA;
  const char* in = data.data() + start;
  const char* const fileEnd = data.data() + data.size();
  while (out.size() < length) {
    // A plain stream may run into the file's end: silence follows it to the buffer's end.
    if (plan.mode == Mode::Plain && in < fileEnd && in + kBuffer > fileEnd) {
      return (out + std::string(in, fileEnd) + std::string(kBuffer, '\0')).substr(0, length);
    }
    const bool twoBuffers = plan.mode == Mode::DecimatedDouble || plan.mode == Mode::BlockDouble;
    if (in + (twoBuffers ? 2 : 1) * kBuffer > fileEnd) return "(beyond the file)";
    std::string buffer(in, kBuffer);
    switch (plan.mode) {
      case Mode::Plain:
        in += kBuffer;
        break;
      case Mode::DecimatedDouble:
        DecimateFrames(buffer.data(), in, kFrameBytes);
        DecimateFrames(buffer.data() + kDecimatedBytes, in + kBuffer, kFrameBytes);
        in += 2 * kBuffer;
        break;
      case Mode::BlockDouble:
        ThinBlocks(buffer.data(), in + kBuffer, ThinningBlockFrames(kFileRate, blocksPerSecond), layout);
        in += 2 * kBuffer;
        break;
      case Mode::PitchHalf: {
        // Buffers A and B take turns; each block's first sample leans on the byte before it in A.
        const bool isA = (out.size() / kBuffer) % 2 == 0;
        HalvePitch(buffer.data(), plan.fftsize, layout, isA ? buffer.data() : bufferA.data(), *work);
        if (isA) bufferA = buffer;
        in += kBuffer;
        break;
      }
    }
    out += buffer;
  }
  out.resize(length);
  return out;
}

uint32_t Le32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

template <typename Condition>
bool WaitFor(Condition done) {
  for (int i = 0; i < 6000 && !done(); ++i) std::this_thread::sleep_for(10ms);
  return done();
}

class ProgramDriveTest : public testing::Test {
 protected:
  // A key typed on the main window, as a keyboard delivers it.
  void Type(char key) {
    ui_->OnUi([key] {
      const UINT vk = key == '-' ? 0xBD : static_cast<UINT>(std::toupper(static_cast<unsigned char>(key)));
      morvex::user::PostKeyDown(MainWindow, vk, static_cast<unsigned char>(key));
    });
  }
  // A right click on a window (`view` gives its handle) that chooses `id` in its popup; a
  // null view: a middle click on the main window that chooses in its system menu. Returns once
  // the menu has been shown (and, unless `held`, closed), so that its command comes before
  // what follows.
  void Choose(HWND (*view)(), UINT id, bool held = false) {
    const int closed = ui_->MenusClosed();
    ui_->OnUi([&] {
      ui_->NextMenu(id, held);
      morvex::user::PostMouse(view ? view() : MainWindow, view ? WM_RBUTTONUP : WM_MBUTTONUP, 30, 30, 0);
    });
    ASSERT_TRUE(WaitFor([&] { return held ? ui_->MenuShown() : ui_->MenusClosed() > closed; }));
  }
  // Waits until the device has received `bytes` of sound in its stream number `stream`.
  void PlaysFor(size_t stream, size_t bytes) {
    ASSERT_TRUE(WaitFor([&] {
      const auto streams = listener_->Streams();
      return streams.size() > stream && streams[stream].size() >= kHeaderBytes + bytes;
    })) << "stream " << stream << " is missing or short";
  }
  // Waits until a command has stopped playback.
  void Stopped() {
    ASSERT_TRUE(WaitFor([&] { return ui_->OnUi([] { return playflag.load() == 0; }); }));
  }

  test_support::TempDir dir_;
  ScriptedDisplay* ui_ = nullptr;
  std::unique_ptr<DeviceListener> listener_;
};

TEST_F(ProgramDriveTest, PlaysThroughEveryCommandAndTheDeviceHearsExactlyWhatPlaybackDefines) {
  // Before any thread: the close signals are left to the program's watcher, and ALSA reads its
  // configuration from this HOME.
  morvex::kernel::CloseMainWindowOnSignals();
  setenv("HOME", dir_.path().c_str(), 1);
  const std::string data = Noise(40 * kBytesPerSecond);
  test_support::Bytes header = test_support::RiffWithFmt({});
  test_support::PutText(header, "data");
  test_support::PutLe(header, static_cast<uint32_t>(data.size()), 4);
  const std::string wav = dir_.Write("noise.wav", std::string(header.begin(), header.end()) + data);
  // The settings file lives beside the executable: this test program.
  const std::string ini = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "morvex.ini";
  std::filesystem::remove(ini);
  ui_ = new ScriptedDisplay;
  morvex::display::InstallBackend(ui_);
  listener_ = std::make_unique<DeviceListener>(dir_.path().string(), kBytesPerSecond);
  char program[] = "morvex";
  std::string argument = wav;
  char* argv[] = {program, argument.data()};
  morvex::kernel::SetCommandLine(2, argv);
  int exitCode = -1;
  std::thread uiThread([&] { exitCode = WinMain(GetModuleHandleA(nullptr), nullptr, morvex::kernel::ArgumentString(), SW_SHOWDEFAULT); });
  // The program is closed as a user closes it, also when a check ends the test early.
  auto close = [&] {
    ui_->ReleaseMenu();
    kill(getpid(), SIGTERM);
    uiThread.join();
  };
  struct Closing {
    std::function<void()> close;
    std::thread& ui;
    ~Closing() {
      if (ui.joinable()) close();
    }
  } closing{close, uiThread};

  HWND (*const mainPopup)() = [] { return MainWindow; };
  std::vector<StreamPlan> plans{{From::Beginning, Mode::Plain, kFileRate, 2048}};
  ASSERT_TRUE(WaitFor([&] { return ui_->OnUi([] { return IsWindow(MainWindow) != FALSE; }); }));
  Type('-');  // keyboard shortcuts on
  Choose(mainPopup, 65);  // vectorscope
  Choose(mainPopup, 76);  // waveform
  ui_->OnUi([] {
    morvex::user::ClientAreaPlaced(MainWindow, 40, 40, 520, 300);
    morvex::user::ClientAreaPlaced(FftWindowHandle(), 600, 40, 700, 380);
    morvex::user::ClientAreaPlaced(SgWindowHandle(), 600, 460, 500, 420);
    morvex::user::ClientAreaPlaced(VectorscopeWindowHandle(), 40, 400, 300, 300);
    morvex::user::ClientAreaPlaced(WaveformWindowHandle(), 40, 740, 640, 200);
  });
  EXPECT_TRUE(ui_->OnUi([] {
    RECT fft{};
    GetClientRect(FftWindowHandle(), &fft);
    return IsWindowVisible(VectorscopeWindowHandle()) && IsWindowVisible(WaveformWindowHandle()) && fft.right == 700;
  }));
  PlaysFor(0, kIntoFirstRefill);

  // Each step: what ends the stream, what is chosen meanwhile, and the next stream's plan.
  struct Step {
    char end;
    std::vector<std::pair<HWND (*)(), UINT>> choices;  // null view: the system menu
    StreamPlan next;
  };
  const Step steps[] = {
      {'t', {}, {From::Continue, Mode::Plain, kFileRate, 2048}},
      {'h', {}, {From::JumpForward, Mode::Plain, kFileRate, 2048}},
      {'g', {}, {From::JumpBack, Mode::Plain, kFileRate, 2048}},
      {'t', {{mainPopup, 112}}, {From::Continue, Mode::DecimatedDouble, kFileRate, 2048}},
      {'t', {{mainPopup, 112}, {mainPopup, 118}}, {From::Continue, Mode::BlockDouble, kFileRate, 2048}},
      {'t', {{mainPopup, 118}, {nullptr, 114}}, {From::Continue, Mode::PitchHalf, kFileRate, 2048}},
      // Half speed, and a playback rate chosen in the main popup's rate submenu.
      {'t', {{nullptr, 114}, {nullptr, 115}, {mainPopup, 143}}, {From::Continue, Mode::Plain, 22050, 2048}},
      // FFT size 4096 and the window function of kind 5 ('h'), in force from this start on.
      {'s', {{nullptr, 115}, {mainPopup, 146}, {FftWindowHandle, 24}, {FftWindowHandle, 5}},
       {From::Beginning, Mode::Plain, kFileRate, 4096}},
  };
  for (const Step& step : steps) {
    Type(step.end);
    // The jumps resume by themselves; after the others, the choices come and play starts.
    if (step.end == 't' || step.end == 's') {
      Stopped();
      for (const auto& [view, id] : step.choices) Choose(view, id);
      Type('p');
    }
    plans.push_back(step.next);
    PlaysFor(plans.size() - 1, step.next.mode == Mode::Plain ? kBuffer : kIntoFirstRefill);
    if (HasFatalFailure()) return;
  }
  // The spectrogram's popup held open: playback goes on meanwhile, beyond the two buffers and
  // the FIFO's fill that the device holds.
  Choose(SgWindowHandle, 0, true);
  PlaysFor(plans.size() - 1, listener_->Streams().back().size() + kBytesPerSecond * 5 / 2);
  ui_->ReleaseMenu();
  ASSERT_TRUE(WaitFor([&] { return !ui_->MenuShown(); }));
  EXPECT_EQ(Settings.fftsample.load(), 4096);

  close();
  EXPECT_EQ(exitCode, 0);
  ASSERT_TRUE(WaitFor([&] { return !listener_->Hearing(); }));
  const std::string settings = test_support::ReadFileBytes(ini);
  std::filesystem::remove(ini);
  EXPECT_NE(settings.find("\r\nfftsample=4096\r\n"), std::string::npos);
  EXPECT_NE(settings.find("\r\nwfkind=h\r\n"), std::string::npos);

  const std::vector<std::string> streams = listener_->Streams();
  ASSERT_EQ(streams.size(), plans.size());
  int64_t start = 0, end = 0;
  for (size_t k = 0; k < streams.size(); ++k) {
    const StreamPlan& plan = plans[k];
    const std::string& stream = streams[k];
    ASSERT_GT(stream.size(), kHeaderBytes) << "stream " << k;
    EXPECT_EQ(Le32(stream, 24), static_cast<uint32_t>(plan.rate)) << "stream " << k;
    EXPECT_EQ(Le32(stream, 32), 0x100004u) << "stream " << k;  // 4-byte frames of 16 bits
    switch (plan.from) {
      case From::Beginning: start = 0; break;
      case From::Continue: start = end; break;
      case From::JumpForward: start = end + kJumpBytes; break;
      case From::JumpBack: start = std::max<int64_t>(0, end - kJumpBytes); break;
    }
    // The device's position at the interruption is the count of bytes it received.
    const size_t length = stream.size() - kHeaderBytes;
    end = start + static_cast<int64_t>(length);
    EXPECT_TRUE(stream.compare(kHeaderBytes, length, Delivered(data, start, plan, length, Settings.wavblockfanticonst.load())) == 0)
        << "stream " << k << " (" << length << " bytes from " << start << ") is not what playback defines";
  }
}

}  // namespace
