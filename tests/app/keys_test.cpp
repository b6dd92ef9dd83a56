// The main window's keys and timer ticks, one step each, in the order a session meets them:
// what each one changes, and that it changes nothing else.
#include <gtest/gtest.h>

#include "observed_state.h"

namespace {

using namespace observed_state;

bool FftThreadEnded() { return ViewThreadsAlive(ViewKind::Fft) == 0; }

class KeysTest : public ObservedRig {};

TEST_F(KeysTest, EachKeyAndTimerChangesWhatItShouldAndNothingElse) {
  // A system that refuses the high class leaves key e without effect.
  const bool mayRaise = SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS) &&
                        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
  Settings.processprioritylowonstartup = 1;
  Start();  // playing 8000 bytes a second, shortcuts off
  ServedByViewThreads();
  Step raise = Typed('e', mayRaise ? "highPriority=1 priorityClass=" HIGH : "");
  Step lower = Typed('e', mayRaise ? "highPriority=0 priorityClass=" IDLE : "");
  RunSteps({
      Tick(4, "timer4=0 priorityClass=" NORMAL),
      Typed('s', ""),  // shortcuts are off
      Marked('q', "statusText=0"),
      Marked('q', "statusText=1"),
      Typed('-', "shortcuts=1"),
      Typed('P', ""),
      Typed('q', "statusText=0"),
      Typed('q', "statusText=1"),
      Typed('a', "levelHold=1"),
      Typed('a', "levelHold=0"),
      Typed('x', "levelThreadOff=0"),
      Typed('x', "levelThreadOff=1"),
      Typed('j', "levelmetertype=0"),
      Typed('j', "levelmetertype=1"),
      Typed('c', "sgwindowlps=1"),
      Typed('c', "sgwindowlps=0"),
      Typed('u', "sgPaused=1"),
      Typed('u', "sgPaused=0"),
      Typed('f', "sgWaitStats=1"),
      Typed('f', "sgWaitStats=0"),
      Typed('v', "vsWaits=1"),
      Typed('v', "vsWaits=0"),
      Typed('w', "fftStats=1"),
      Typed('w', "fftStats=0"),
      Typed('3', "fftWide=1"),
      Typed('3', "fftWide=0"),
      Typed('r', ""),  // statistics off only while the FFT window's updates are stopped
      SysCommand(54, "fftUpdatesStopped=1 check54=1"),
      Typed('r', "fftStatsOff=1"),
      Typed('r', "fftStatsOff=0"),
      Typed('r', "fftStatsOff=1"),
      SysCommand(54, "fftUpdatesStopped=0 check54=0 fftStatsOff=0"),
      Typed('2', "mainwindowparafull=1"),
      Typed('2', "mainwindowparafull=0"),
      Typed('k', "hidden=1 visible=0 fftPositionDisplay=1"),
      Typed('k', "hidden=0 visible=1 fftPositionDisplay=0", FftWindowHandle),  // passed on to the main window
      raise,
      lower,
      Tick(4, "priorityClass=" NORMAL),
      Typed('i', "paint=1"),
      Typed('z', "mainwindowinvailintervalvariable=1000 timer1=1000"),
      Typed('1', "mainwindowinvailintervalvariable=10 timer1=10"),
      Typed('y', "timer1=0"),
      Tick(1, "paint=1"),  // while playing: the status display is repainted
      Running(Typed('b', ""), 500),  // the device stands still: its position with it
      Running(Typed('n', "position=4000"), 500),
      Typed('t', "playflag=0 resumePending=1 seekBase=4000"),
      Typed('t', ""),
      Typed('p', "playflag=1 resumePending=0"),
      Typed('p', ""),
      Typed('h', "playflag=0 resumePending=1 seekBase=44000 timer2=100"),
      Tick(2, "timer2=0 posted=p"),
      Typed('g', "playflag=0 resumePending=1 seekBase=4000 timer2=100"),
      Tick(2, "timer2=0 posted=p"),
      Typed('s', "playflag=0 seekBase=0"),
      Typed('g', "resumePending=1"),  // not below the start; nothing resumes
      Typed('h', "seekBase=40000"),
      Typed('z', "mainwindowinvailintervalvariable=1000 timer1=1000"),
      Tick(1, "timer1=0"),  // stopped: the repaint timer ends itself
      After(FftThreadEnded, Typed('o', "fftStopRequest=1")),
      Typed('d', ""),
      Typed('l', ""),
      {WM_INITMENUPOPUP, 0, 0, "menuOpen=1"},
      Typed('q', ""),
      Typed('x', "posted=SC_CLOSE"),
  });
}

}  // namespace
