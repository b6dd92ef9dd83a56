#include "app/settings_keys.h"

#include <cstdlib>

#include "audio/wav_reader.h"

namespace {

using S = SettingsRecord;
using R = RememberedGeometry;

constexpr SettingsKey kKeys[] = {
    {"mainwindowpx", &S::mainwindowpx, &R::mainwindowpx, nullptr},
    {"mainwindowpy", &S::mainwindowpy, &R::mainwindowpy, nullptr},
    {"mainwindowwidth", &S::mainwindowwidth, &R::mainwindowwidth, nullptr},
    {"mainwindowheight", &S::mainwindowheight, &R::mainwindowheight, nullptr},
    {"fftwindowpx", &S::fftwindowpx, &R::fftwindowpx, nullptr},
    {"fftwindowpy", &S::fftwindowpy, &R::fftwindowpy, nullptr},
    {"fftwindowwidth", &S::fftwindowwidth, &R::fftwindowwidth, nullptr},
    {"fftwindowheight", &S::fftwindowheight, &R::fftwindowheight, nullptr},
    {"sgwindowpx", &S::sgwindowpx, &R::sgwindowpx, nullptr},
    {"sgwindowpy", &S::sgwindowpy, &R::sgwindowpy, nullptr},
    {"sgwindowwidth", &S::sgwindowwidth, &R::sgwindowwidth, nullptr},
    {"sgwindowheight", &S::sgwindowheight, &R::sgwindowheight, nullptr},
    {"vswindowpx", &S::vswindowpx, &R::vswindowpx, nullptr},
    {"vswindowpy", &S::vswindowpy, &R::vswindowpy, nullptr},
    {"vswindowwidth", &S::vswindowwidth, &R::vswindowwidth, nullptr},
    {"vswindowheight", &S::vswindowheight, &R::vswindowheight, nullptr},
    {"vswindowstop", &S::vswindowstop, nullptr, nullptr},
    {"wavwindowpx", &S::wavwindowpx, &R::wavwindowpx, nullptr},
    {"wavwindowpy", &S::wavwindowpy, &R::wavwindowpy, nullptr},
    {"wavwindowwidth", &S::wavwindowwidth, &R::wavwindowwidth, nullptr},
    {"wavwindowheight", &S::wavwindowheight, &R::wavwindowheight, nullptr},
    {"wavwindowstop", &S::wavwindowstop, nullptr, nullptr},
    {"mainwindowparafull", &S::mainwindowparafull, nullptr, nullptr},
    {"mainwindowinvailintervalvariable", &S::mainwindowinvailintervalvariable, nullptr, nullptr},
    {"wavblockfanticonst", &S::wavblockfanticonst, nullptr, nullptr},
    {"virtualscreendynamicmemaloc", &S::virtualscreendynamicmemaloc, nullptr, nullptr},
    {"leveltimercalareaper", &S::leveltimercalareaper, nullptr, nullptr},
    {"keyboardshortcut", &S::keyboardshortcut, nullptr, nullptr},
    {"withoutsavewindowsetting", &S::withoutsavewindowsetting, nullptr, nullptr},
    {"iconselectinini", &S::iconselectinini, nullptr, nullptr},
    {"levelmetertype", &S::levelmetertype, nullptr, nullptr},
    {"playfreqoptional", &S::playfreqoptional, nullptr, nullptr},
    {"sgfftclosebuttondisable", &S::sgfftclosebuttondisable, nullptr, nullptr},
    {"processprioritylowonstartup", &S::processprioritylowonstartup, nullptr, nullptr},
    {"fftsample", &S::fftsample, nullptr, &S::fftsampleRequested},
    {"fftwindowsleeptime", &S::fftwindowsleeptime, nullptr, nullptr},
    {"fftgraphmagnified", &S::fftgraphmagnified, nullptr, nullptr},
    {"sggraphmagnified", &S::sggraphmagnified, nullptr, nullptr},
    {"sggraphreturn", &S::sggraphreturn, nullptr, nullptr},
    {"sgspectnowait", &S::sgspectnowait, nullptr, nullptr},
    {"sgspectmanydraw", &S::sgspectmanydraw, nullptr, nullptr},
    {"sgliner", &S::sgliner, nullptr, nullptr},
    {"sgcolor", &S::sgcolor, nullptr, nullptr},
    {"zerofill", &S::zerofill, nullptr, nullptr},
    {"sginterpolate", &S::sginterpolate, nullptr, nullptr},
    {"sggraphtype", &S::sggraphtype, nullptr, nullptr},
    {"vecscpsample", &S::vecscpsample, nullptr, nullptr},
    {"sgunderline", &S::sgunderline, nullptr, nullptr},
    {"sgmousecurhzdis", &S::sgmousecurhzdis, nullptr, nullptr},
    {"fftgraphmodelight", &S::fftgraphmodelight, nullptr, nullptr},
    {"pinknoizeflatingfilter", &S::pinknoizeflatingfilter, nullptr, nullptr},
    {"fftradix4flag", &S::fftradix4flag, nullptr, &S::fftradix4flagRequested},
    {"loudnessrevice", &S::loudnessrevice, nullptr, nullptr},
    {"fftgraph0hzdraw", &S::fftgraph0hzdraw, nullptr, nullptr},
    {"sgwindowlps", &S::sgwindowlps, nullptr, nullptr},
    {"sgpeakshow", &S::sgpeakshow, nullptr, nullptr},
    {"sghzdraw", &S::sghzdraw, nullptr, nullptr},
    {"smoothingfilter", &S::smoothingfilter, nullptr, nullptr},
    {"fftdrawold", &S::fftdrawold, nullptr, nullptr},
    {"fftdrawline", &S::fftdrawline, nullptr, nullptr},
    {"sgfftpointshow", &S::sgfftpointshow, nullptr, nullptr},
    {"sgscaleshowalltime", &S::sgscaleshowalltime, nullptr, nullptr},
    {"downrateforfft", &S::downrateforfft, nullptr, nullptr},
    {"sgkeycshow", &S::sgkeycshow, nullptr, nullptr},
    {"wavgphffts", &S::wavgphffts, nullptr, nullptr},
    {"wavwindowsleeptime", &S::wavwindowsleeptime, nullptr, nullptr},
};

bool AtLeastOne(int32_t v) { return v >= 1; }
bool NotNegative(int32_t v) { return v >= 0; }
bool FftSize(int32_t v) { return v >= 64 && v <= 32768 && (v & (v - 1)) == 0; }
bool ZeroFill(int32_t v) { return v == 1 || v == 2 || v == 4; }
bool DownRate(int32_t v) { return v == 0 || v == 2 || v == 4; }
bool LevelMeterType(int32_t v) { return v >= 0 && v <= 5; }
bool PlayRate(int32_t v) { return v >= 0 && v <= kHighestSampleRate; }

// Values the program cannot run with, and why.
struct ValueRule {
  SettingsField field;
  bool (*usable)(int32_t);
};
constexpr ValueRule kRules[] = {
    {&S::zerofill, ZeroFill},                             // divisor of the frame length; only 1, 2, 4 fit the tables
    {&S::fftsample, FftSize},                             // the transform needs a power of two its tables hold
    {&S::fftgraphmagnified, AtLeastOne},                  // divisor of the graph's full scale
    {&S::sggraphmagnified, AtLeastOne},                   // divisor of the spectrogram's intensity scale
    {&S::leveltimercalareaper, AtLeastOne},               // divisor of the level meter's window
    {&S::wavblockfanticonst, AtLeastOne},                 // divisor of the block length of block-thinning playback
    {&S::mainwindowinvailintervalvariable, AtLeastOne},   // timer period: 0 repaints without pause, negative is huge
    {&S::fftwindowsleeptime, NotNegative},                // a negative pause sleeps for weeks
    {&S::wavwindowsleeptime, NotNegative},
    {&S::levelmetertype, LevelMeterType},                 // the meter computes nothing for other kinds
    {&S::downrateforfft, DownRate},                       // the analysis reads frame length x this many samples
    {&S::playfreqoptional, PlayRate},                     // device rate; rate x block size must stay in range
};

const SettingsRecord kDefaults;

}  // namespace

const SettingsKey* FindSettingsKey(std::string_view name) {
  for (const SettingsKey& key : kKeys) {
    if (key.name == name) return &key;
  }
  return nullptr;
}

const SettingsKey& SettingsKeyOf(SettingsField field) {
  for (const SettingsKey& key : kKeys) {
    if (key.field == field) return key;
  }
  std::abort();  // a field without a key is a programming error, caught by the first save
}

int32_t UsableSettingValue(SettingsField field, int32_t value) {
  for (const ValueRule& rule : kRules) {
    if (rule.field == field) return rule.usable(value) ? value : (kDefaults.*field).load();
  }
  return value;
}
