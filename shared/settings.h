// The program's settings: one field per key of morvex.ini, read at start-up and written back when
// the main window is destroyed (app/settings_file.h).
//
// Every field is a std::atomic because the view threads read settings that the menus change while
// they run; a plain load or store through the field's conversion operators is all a reader needs.
#pragma once

#include <atomic>
#include <cstdint>

// Geometry as read from the settings file, written back in place of live rectangles when a window
// is maximized or when `withoutsavewindowsetting` is 1. Only the user-interface thread uses it.
struct RememberedGeometry {
  int32_t mainwindowpx = 300;
  int32_t mainwindowpy = 155;
  int32_t mainwindowwidth = 0;
  int32_t mainwindowheight = 0;
  int32_t fftwindowpx = 0;
  int32_t fftwindowpy = 340;
  int32_t fftwindowwidth = 0;
  int32_t fftwindowheight = 0;
  int32_t sgwindowpx = 0;
  int32_t sgwindowpy = 115;
  int32_t sgwindowwidth = 0;
  int32_t sgwindowheight = 0;
  int32_t vswindowpx = 300;
  int32_t vswindowpy = 0;
  int32_t vswindowwidth = 0;
  int32_t vswindowheight = 0;
  int32_t wavwindowpx = 475;
  int32_t wavwindowpy = 0;
  int32_t wavwindowwidth = 0;
  int32_t wavwindowheight = 0;
};

struct SettingsRecord {
  // [general]
  std::atomic<int32_t> mainwindowpx{290};
  std::atomic<int32_t> mainwindowpy{160};
  std::atomic<int32_t> mainwindowwidth{600};
  std::atomic<int32_t> mainwindowheight{400};
  std::atomic<int32_t> fftwindowpx{0};
  std::atomic<int32_t> fftwindowpy{340};
  std::atomic<int32_t> fftwindowwidth{280};
  std::atomic<int32_t> fftwindowheight{215};
  std::atomic<int32_t> sgwindowpx{0};
  std::atomic<int32_t> sgwindowpy{115};
  std::atomic<int32_t> sgwindowwidth{280};
  std::atomic<int32_t> sgwindowheight{220};
  std::atomic<int32_t> vswindowpx{300};
  std::atomic<int32_t> vswindowpy{0};
  std::atomic<int32_t> vswindowwidth{172};
  std::atomic<int32_t> vswindowheight{162};
  std::atomic<int32_t> vswindowstop{1};
  std::atomic<int32_t> wavwindowpx{475};
  std::atomic<int32_t> wavwindowpy{0};
  std::atomic<int32_t> wavwindowwidth{320};
  std::atomic<int32_t> wavwindowheight{160};
  std::atomic<int32_t> wavwindowstop{1};
  std::atomic<int32_t> mainwindowparafull{0};
  std::atomic<int32_t> mainwindowinvailintervalvariable{10};
  std::atomic<int32_t> wavblockfanticonst{23};
  std::atomic<int32_t> virtualscreendynamicmemaloc{1};
  std::atomic<int32_t> leveltimercalareaper{400};
  std::atomic<int32_t> keyboardshortcut{0};
  std::atomic<int32_t> withoutsavewindowsetting{0};
  std::atomic<int32_t> iconselectinini{101};
  std::atomic<int32_t> levelmetertype{1};
  std::atomic<int32_t> playfreqoptional{0};
  std::atomic<int32_t> sgfftclosebuttondisable{1};
  std::atomic<int32_t> processprioritylowonstartup{1};

  // [fft&sg]. `fftsample` and `fftradix4flag` are the values in effect (what the analysis runs
  // with); the menus change the requested ones, which playback and live input put into effect
  // when they start.
  std::atomic<int32_t> fftsample{2048};
  std::atomic<int32_t> fftsampleRequested{2048};
  std::atomic<int32_t> fftwindowsleeptime{5};
  std::atomic<char> wfkind{'f'};
  std::atomic<int32_t> fftgraphmagnified{20};
  std::atomic<int32_t> sggraphmagnified{50};
  std::atomic<int32_t> sggraphreturn{1};
  std::atomic<int32_t> sgspectnowait{0};
  std::atomic<int32_t> sgspectmanydraw{1};
  std::atomic<int32_t> sgliner{0};
  std::atomic<int32_t> sgcolor{1};
  std::atomic<int32_t> zerofill{1};  // read from the file, never written to it
  std::atomic<int32_t> sginterpolate{1};
  std::atomic<int32_t> sggraphtype{1};
  std::atomic<int32_t> vecscpsample{300};
  std::atomic<int32_t> sgunderline{0};
  std::atomic<int32_t> sgmousecurhzdis{0};
  std::atomic<int32_t> fftgraphmodelight{1};
  std::atomic<int32_t> pinknoizeflatingfilter{1};
  std::atomic<int32_t> fftradix4flag{0};
  std::atomic<int32_t> fftradix4flagRequested{0};
  std::atomic<int32_t> loudnessrevice{0};
  std::atomic<int32_t> fftgraph0hzdraw{1};
  std::atomic<int32_t> sgwindowlps{0};
  std::atomic<int32_t> sgpeakshow{0};
  std::atomic<int32_t> sghzdraw{0};
  std::atomic<int32_t> smoothingfilter{2};
  std::atomic<int32_t> fftdrawold{1};
  std::atomic<int32_t> fftdrawline{0};
  std::atomic<int32_t> sgfftpointshow{0};
  std::atomic<int32_t> sgscaleshowalltime{0};
  std::atomic<int32_t> downrateforfft{0};
  std::atomic<int32_t> sgkeycshow{0};

  // [wav]
  std::atomic<int32_t> wavgphffts{0};
  std::atomic<int32_t> wavwindowsleeptime{20};

  RememberedGeometry remembered;
};

// The program's one settings record.
extern SettingsRecord Settings;
