// Everything a key, a timer tick or a menu command of the main window can change, as named
// values, and tables of steps that each say exactly which values their message changes: a step
// that changes anything else, or less, fails with the names that differ.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

#include "analysis/fft_window.h"
#include "audio/level_meter.h"
#include "audio/main_display.h"
#include "audio/playback_device.h"
#include "main_window_rig.h"
#include "platform/user/window_state.h"
#include "shared/spectrum_frame.h"
#include "shared/view_threads.h"
#include "spectrogram/sg_window.h"
#include "views/vectorscope_window.h"
#include "views/waveform_window.h"

namespace observed_state {

using State = std::map<std::string, std::string>;

// Priority classes as GetPriorityClass reports them.
#define NORMAL "32"
#define IDLE "64"
#define HIGH "128"

inline bool NoViewThreads() {
  for (int32_t kind = 0; kind < kViewKindCount; ++kind) {
    if (ViewThreadsAlive(static_cast<ViewKind>(kind)) != 0) return false;
  }
  return true;
}

// The settings the commands and keys touch, by their keys' names (each one written here, not
// taken from the program's key table).
#define MORVEX_SETTING(name) {#name, &SettingsRecord::name}
inline const std::pair<const char*, std::atomic<int32_t> SettingsRecord::*> kSettings[] = {
    MORVEX_SETTING(vswindowstop), MORVEX_SETTING(wavwindowstop), MORVEX_SETTING(mainwindowparafull),
    MORVEX_SETTING(mainwindowinvailintervalvariable), MORVEX_SETTING(withoutsavewindowsetting),
    MORVEX_SETTING(levelmetertype), MORVEX_SETTING(playfreqoptional), MORVEX_SETTING(fftsample),
    MORVEX_SETTING(fftsampleRequested), MORVEX_SETTING(fftwindowsleeptime), MORVEX_SETTING(fftgraphmagnified),
    MORVEX_SETTING(sggraphmagnified), MORVEX_SETTING(sggraphreturn), MORVEX_SETTING(sgspectnowait),
    MORVEX_SETTING(sgspectmanydraw), MORVEX_SETTING(sgliner), MORVEX_SETTING(sgcolor), MORVEX_SETTING(zerofill),
    MORVEX_SETTING(sginterpolate), MORVEX_SETTING(sggraphtype), MORVEX_SETTING(vecscpsample),
    MORVEX_SETTING(sgunderline), MORVEX_SETTING(sgmousecurhzdis), MORVEX_SETTING(fftgraphmodelight),
    MORVEX_SETTING(pinknoizeflatingfilter), MORVEX_SETTING(fftradix4flag), MORVEX_SETTING(fftdrawold), MORVEX_SETTING(fftdrawline),
    MORVEX_SETTING(sgwindowlps), MORVEX_SETTING(wavgphffts), MORVEX_SETTING(wavwindowsleeptime),
};
#undef MORVEX_SETTING

// The run-time flags, by the names the program gives them.
#define MORVEX_FLAG(name, flag) {name, &flag}
inline const std::pair<const char*, const std::atomic<int32_t>*> kFlags[] = {
    MORVEX_FLAG("playflag", playflag), MORVEX_FLAG("resumePending", resumePending),
    MORVEX_FLAG("seekBase", SampleStore.seekBase), MORVEX_FLAG("shortcuts", KeyboardShortcutsEnabled),
    MORVEX_FLAG("menuOpen", MenuOpen), MORVEX_FLAG("statusText", statusText), MORVEX_FLAG("levelHold", levelHold),
    MORVEX_FLAG("levelThreadOff", levelThreadOff), MORVEX_FLAG("hidden", MainWindowHidden),
    MORVEX_FLAG("highPriority", HighPriorityMode), MORVEX_FLAG("fftPositionDisplay", FftPositionDisplay),
    MORVEX_FLAG("sgPaused", SgControl.paused), MORVEX_FLAG("sgWaitStats", SgControl.waitStats),
    MORVEX_FLAG("sgStopped", SgControl.stopped), MORVEX_FLAG("sgClear", SgControl.clearRequest),
    MORVEX_FLAG("sgRescale", SgControl.rescaleRequest), MORVEX_FLAG("sgShown", SgWindowShown),
    MORVEX_FLAG("vsWaits", VsShowWaits), MORVEX_FLAG("vsParams", VsParamsChanged), MORVEX_FLAG("vsLine", VsLineMode),
    MORVEX_FLAG("fftStats", FftStatsMode), MORVEX_FLAG("fftWide", FftWideStats),
    MORVEX_FLAG("fftStatsOff", FftStatsOff), MORVEX_FLAG("fftStopRequest", FftStopRequest),
    MORVEX_FLAG("fftUpdatesStopped", FftUpdatesStopped), MORVEX_FLAG("fftLogAxis", FftLogAxis),
    MORVEX_FLAG("fftLevelAxis", FftLevelAxis), MORVEX_FLAG("fftOnePoint", FftOnePointPerColumn),
    MORVEX_FLAG("fftRelayout", FftRelayout), MORVEX_FLAG("fftSleepNone", FftSleepNone),
    MORVEX_FLAG("windowRebuild", WindowRebuild), MORVEX_FLAG("samplesPerFrame", SamplesPerFrame),
    MORVEX_FLAG("speedDoubleDecimate", speedDoubleDecimate), MORVEX_FLAG("speedDoubleBlocks", speedDoubleBlocks),
    MORVEX_FLAG("pitchHalf", pitchHalf), MORVEX_FLAG("speedHalf", speedHalf),
    MORVEX_FLAG("inputRunning", inputRunning),
};
#undef MORVEX_FLAG

// The period of a running timer of `hwnd`, 0 when it does not run.
inline UINT TimerPeriod(HWND hwnd, UINT_PTR id) {
  auto& user = morvex::user::State();
  std::lock_guard lock(user.mutex);
  for (const auto& timer : user.timers) {
    if (timer.hwnd == hwnd && timer.id == id) return timer.period;
  }
  return 0;
}

// The characters and system commands waiting in the queue for `hwnd`, in order ("p", "SC_CLOSE").
inline std::string Posted(HWND hwnd) {
  auto& user = morvex::user::State();
  std::lock_guard lock(user.mutex);
  std::string out;
  for (const MSG& msg : user.posted) {
    if (msg.hwnd != hwnd) continue;
    if (msg.message == WM_CHAR) out += static_cast<char>(msg.wParam);
    if (msg.message == WM_SYSCOMMAND) out += msg.wParam == SC_CLOSE ? "SC_CLOSE" : "#" + std::to_string(msg.wParam);
  }
  return out;
}

inline void AddMarks(State& state, const char* prefix, HMENU menu) {
  for (UINT id = 1; id < 200; ++id) {
    const UINT marks = GetMenuState(menu, id, MF_BYCOMMAND);
    if (marks == ~0u) continue;
    if (marks & MF_CHECKED) state[std::string(prefix) + "check" + std::to_string(id)] = "1";
    if (marks & MF_GRAYED) state[std::string(prefix) + "grey" + std::to_string(id)] = "1";
  }
}

inline State Observe(HWND main) {
  State state;
  for (const auto& [name, field] : kSettings) state[name] = std::to_string((Settings.*field).load());
  state["wfkind"] = std::string(1, Settings.wfkind.load());
  for (const auto& [name, flag] : kFlags) state[name] = std::to_string(flag->load());
  state["position"] = std::to_string(WaveOutDevice.load() ? PlaybackDevicePosition() : 0);
  for (const UINT_PTR id : {1, 2, 4}) state["timer" + std::to_string(id)] = std::to_string(TimerPeriod(main, id));
  state["priorityClass"] = std::to_string(GetPriorityClass(GetCurrentProcess()));
  MSG paint;
  state["paint"] = PeekMessageA(&paint, main, WM_PAINT, WM_PAINT, PM_NOREMOVE) ? "1" : "0";
  state["posted"] = Posted(main);
  state["window"] = IsWindow(main) ? "1" : "0";
  state["visible"] = IsWindowVisible(main) ? "1" : "0";
  state["sgVisible"] = IsWindowVisible(SgWindowHandle()) ? "1" : "0";
  state["vsVisible"] = IsWindowVisible(VectorscopeWindowHandle()) ? "1" : "0";
  state["wavVisible"] = IsWindowVisible(WaveformWindowHandle()) ? "1" : "0";
  AddMarks(state, "", SystemMenu);
  AddMarks(state, "popup", MainPopup);
  return state;
}

// `state` with "name=value ..." applied; "name=0" removes a mark, "name=*" takes what was observed.
inline State Changed(State state, const std::string& changes, const State& observed) {
  std::istringstream words(changes);
  for (std::string word; words >> word;) {
    const auto eq = word.find('=');
    const std::string name = word.substr(0, eq), value = word.substr(eq + 1);
    const bool mark = name.find("check") != std::string::npos || name.find("grey") != std::string::npos;
    if (value == "*") {
      const auto it = observed.find(name);
      if (it == observed.end()) {
        state.erase(name);
      } else {
        state[name] = it->second;
      }
    } else if (mark && value == "0") {
      state.erase(name);
    } else {
      state[name] = value;
    }
  }
  return state;
}

// The names whose values differ, with both values.
inline std::string Differences(const State& expected, const State& observed) {
  std::string out;
  auto value = [](const State& s, const std::string& name) {
    const auto it = s.find(name);
    return it == s.end() ? std::string("0") : it->second;
  };
  State names = expected;
  names.insert(observed.begin(), observed.end());
  for (const auto& [name, unused] : names) {
    if (value(expected, name) != value(observed, name)) {
      out += " " + name + ": expected " + value(expected, name) + ", got " + value(observed, name) + ";";
    }
  }
  return out;
}

// One message to the main window (or to the window `to` names) and what it changes.
struct Step {
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  std::string changes;
  HWND (*to)() = nullptr;
  int64_t runMs = 0;                     // the virtual clock's run after the message
  std::function<bool()> before = nullptr;  // waited for (the messages handled) before the step
};

inline Step Typed(char key, std::string changes, HWND (*to)() = nullptr) {
  return {WM_CHAR, static_cast<unsigned char>(key), 1, std::move(changes), to};
}
// The step followed by `ms` of the virtual clock, or taken once `condition` holds.
inline Step Running(Step step, int64_t ms) {
  step.runMs = ms;
  return step;
}
inline Step After(std::function<bool()> condition, Step step) {
  step.before = std::move(condition);
  return step;
}
inline Step Marked(char key, std::string changes) { return {WM_CHAR, static_cast<unsigned char>(key), ShortcutMarker, std::move(changes)}; }
inline Step Tick(UINT_PTR id, std::string changes) { return {WM_TIMER, id, 0, std::move(changes)}; }
inline Step SysCommand(UINT id, std::string changes) { return {WM_SYSCOMMAND, id, 0, std::move(changes)}; }
inline Step Command(UINT id, std::string changes) { return {WM_COMMAND, id, 0, std::move(changes)}; }
inline Step RightClick(std::string changes) { return {WM_RBUTTONUP, 0, MAKELPARAM(10, 10), std::move(changes)}; }

class ObservedRig : public main_window_rig::MainWindowRig {
 protected:
  // Each step: the queue handled, the state seen, the message sent and handled, the state seen
  // again and compared with the first as the step's changes say.
  void RunSteps(const std::vector<Step>& steps) {
    for (size_t i = 0; i < steps.size(); ++i) {
      const Step& step = steps[i];
      Pump();
      if (step.before) {
        ASSERT_TRUE(RunUntil(step.before)) << "step " << i;
      }
      if (serveRequests_) WindowRebuild = FftRelayout = SgControl.clearRequest = SgControl.rescaleRequest = VsParamsChanged = 0;
      const State before = Steady(Observe(hwnd_));
      SendMessageA(step.to ? step.to() : hwnd_, step.msg, step.wParam, step.lParam);
      if (step.to) Pump();  // the view window posts the character on
      if (step.runMs > 0) Run(step.runMs);
      const State after = Steady(Observe(hwnd_));
      const State expected = Changed(before, step.changes, after);
      EXPECT_EQ(Differences(expected, after), "")
          << "step " << i << ": message " << step.msg << " " << step.wParam << " (" << static_cast<char>(step.wParam)
          << ") changes " << step.changes;
    }
  }

  // Requests that running view threads take back as they serve them: not compared while they run.
  void ServedByViewThreads() { unsteady_ = {"fftRelayout", "sgClear", "sgRescale", "vsParams", "windowRebuild"}; }
  // With no view thread running, the test serves those requests itself before each step, so that
  // each step shows the requests it makes.
  void ServeRequestsBeforeEachStep() { serveRequests_ = true; }

 private:
  State Steady(State state) const {
    for (const char* name : unsteady_) state.erase(name);
    return state;
  }
  std::vector<const char*> unsteady_;
  bool serveRequests_ = false;
};

}  // namespace observed_state
