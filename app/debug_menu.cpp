#include "app/debug_menu.h"

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "app/menu_state.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"

namespace {

struct DebugItem {
  UINT id;  // 0: a separator
  const char* label;
};

constexpr DebugItem kSeparator{0, nullptr};

constexpr DebugItem kItems[] = {
    {1, "triangle"},
    {2, "hanning"},
    {3, "gause"},
    {4, "hamming"},
    {5, "blackman-harris"},
    {6, "rosen-field"},
    {7, "sin"},
    {8, "blackman"},
    {9, "flattop"},
    {10, "none"},
    kSeparator,
    {11, "graphlog"},
    {12, "graphliner"},
    kSeparator,
    {87, "fft休止時間なし"},
    {13, "fft休止時間0ms(1timeスライス未満)"},
    {109, "fft休止時間1ms"},
    {14, "fft休止時間5ms"},
    {15, "fft休止時間10ms"},
    {16, "fft休止時間20ms"},
    {17, "fft休止時間50ms"},
    {18, "fft休止時間100ms"},
    {20, "fft休止時間500ms"},
    kSeparator,
    {19, "fftlog簡易(同一x座標に一個のみ)"},
    kSeparator,
    {74, "再生中は変更反映されません"},
    {28, "fftsample64"},
    {29, "fftsample128"},
    {30, "fftsample256"},
    {21, "fftsample512"},
    {22, "fftsample1024"},
    {23, "fftsample2048"},
    {24, "fftsample4096"},
    {25, "fftsample8192"},
    {26, "fftsample16384"},
    {121, "fftsample32768"},
    kSeparator,
    {31, "fftgraph表示倍率5倍"},
    {32, "fftgraph表示倍率10倍"},
    {33, "fftgraph表示倍率20倍"},
    {34, "fftgraph表示倍率50倍"},
    {41, "fftgraph表示倍率100倍"},
    {42, "fftgraph表示倍率200倍"},
    kSeparator,
    {35, "fftthread優先度+0(通常に戻す)"},
    {36, "fftthread優先度+1"},
    {37, "fftthread優先度+2"},
    kSeparator,
    {43, "spectgraph表示倍率5倍"},
    {44, "spectgraph表示倍率10倍"},
    {45, "spectgraph表示倍率20倍"},
    {88, "spectgraph表示倍率30倍"},
    {124, "spectgraph表示倍率35倍"},
    {125, "spectgraph表示倍率40倍"},
    {46, "spectgraph表示倍率50倍"},
    {75, "spectgraph表示倍率75倍"},
    {47, "spectgraph表示倍率100倍"},
    {58, "spectgraph表示倍率150倍"},
    {48, "spectgraph表示倍率200倍"},
    {50, "spectgraph表示倍率400倍"},
    kSeparator,
    {49, "spectgraph一番右行ったら戻る"},
    {51, "spectgraph次のfftまで待つ"},
    {52, "spectgraphいっぱい描く"},
    {56, "spectgraphliner"},
    {57, "spectgraphcolor"},
    kSeparator,
    {53, "sgwindow更新停止"},
    {54, "fftwindow更新停止"},
    kSeparator,
    {59, "sgthread優先度+0(通常に戻す)"},
    {60, "sgthread優先度+1"},
    kSeparator,
    {61, "fft 補間しない"},
    {62, "fft 補間で2倍にする(wav1/2)"},
    {63, "fft 補間で4倍にする(wav1/4)"},
    kSeparator,
    {64, "sgwindow表示"},
    {65, "vswindow表示"},
    {76, "wavwindow表示"},
    kSeparator,
    {66, "vswindow200sample"},
    {67, "vswindow300sample"},
    {68, "vswindow400sample"},
    {69, "vswindow500sample"},
    {70, "vswindow1000sample"},
    {71, "vswindow2000sample"},
    {72, "vswindow3000sample"},
    kSeparator,
    {73, "vslineにする"},
    kSeparator,
    {82, "wavgphfft計算してる範囲に縮小"},
    kSeparator,
    {77, "wavgraph休止時間0ms"},
    {78, "wavgraph休止時間5ms"},
    {79, "wavgraph休止時間10ms"},
    {80, "wavgraph休止時間20ms"},
    {81, "wavgraph休止時間50ms"},
    kSeparator,
    {83, "sgcolorgraphtype 1"},
    {84, "sgcolorgraphtype 2"},
    {102, "sgcolorgraphtype 3"},
    kSeparator,
    {85, "5秒早送り"},
    {86, "5秒巻き戻し"},
    kSeparator,
    {89, "sggraph補間"},
    {90, "sggraphunderline"},
    {91, "sg hz draw of mousecousor point"},
    {96, "fft drawlight in logkani"},
    {101, "sg screen clear"},
    {103, "pinknoizeflatingfilter"},
    kSeparator,
    {104, "fft補間種類0補間"},
    kSeparator,
    {107, "wavein start"},
    {108, "wavein stop"},
    kSeparator,
    {110, "fftradix2"},
    {111, "fftradix4"},
    {112, "再生速度2倍"},
    {113, "debug spectdis"},
    {114, "play*2で周波数元に戻す"},
    {115, "再生速度1/2"},
    {116, "mainwindow slow inv."},
    {118, "playspeeddoublewithonestep"},
};

// Items that start checked whatever the settings say: their state starts on.
constexpr UINT kCheckedAtStart[] = {73, 64, 19, 104};
constexpr UINT kNotice = 74;
constexpr UINT kVectorscopeCommand = 65;

// Toggle items checked while their setting is on (51 while its setting is off).
struct ToggleMark {
  UINT id;
  std::atomic<int32_t> SettingsRecord::*setting;
  int32_t checkedValue;
};
constexpr ToggleMark kToggleMarks[] = {
    {96, &SettingsRecord::fftgraphmodelight, 1}, {91, &SettingsRecord::sgmousecurhzdis, 1},
    {103, &SettingsRecord::pinknoizeflatingfilter, 1}, {90, &SettingsRecord::sgunderline, 1},
    {51, &SettingsRecord::sgspectnowait, 0},     {49, &SettingsRecord::sggraphreturn, 1},
    {52, &SettingsRecord::sgspectmanydraw, 1},   {56, &SettingsRecord::sgliner, 1},
    {57, &SettingsRecord::sgcolor, 1},           {76, &SettingsRecord::wavwindowstop, 0},
    {65, &SettingsRecord::vswindowstop, 0},      {89, &SettingsRecord::sginterpolate, 1},
    {82, &SettingsRecord::wavgphffts, 1},
};

// One of a pair or triple that is checked alone.
void MarkOneOf(std::initializer_list<UINT> ids, UINT checked) {
  for (const UINT id : ids) SetMark(SystemMenu, id, id == checked);
}

void MarkFromSettings(const SettingsRecord& settings) {
  MarkRadioValue(Radio::WindowFunction, static_cast<unsigned char>(settings.wfkind.load()));
  MarkRadioValue(Radio::FftPause, settings.fftwindowsleeptime);
  MarkRadioValue(Radio::FftLength, settings.fftsampleRequested);
  MarkRadioValue(Radio::FftMagnification, settings.fftgraphmagnified);
  MarkRadioValue(Radio::FftPriority, FftPriorityLevel);
  MarkRadioValue(Radio::SgMagnification, settings.sggraphmagnified);
  MarkRadioValue(Radio::VsSamples, settings.vecscpsample);
  MarkRadioValue(Radio::WavPause, settings.wavwindowsleeptime);
  MarkOneOf({11, 12}, FftLogAxis == 1 ? 11 : 12);
  MarkOneOf({59, 60}, SgPriorityLevel == 0 ? 59 : 60);
  const int32_t zerofill = settings.zerofill;
  MarkOneOf({61, 62, 63}, zerofill == 1 ? 61 : zerofill == 2 ? 62 : zerofill == 4 ? 63 : 0);
  const int32_t graphType = settings.sggraphtype;
  MarkOneOf({83, 84, 102}, graphType == 0 ? 83 : graphType == 1 ? 84 : graphType == 2 ? 102 : 0);
  for (const ToggleMark& mark : kToggleMarks) {
    if ((settings.*mark.setting).load() == mark.checkedValue) SetMark(SystemMenu, mark.id, true);
  }
}

}  // namespace

void BuildDebugMenu(HWND mainWindow) {
  SystemMenu = GetSystemMenu(mainWindow, FALSE);
  AppendMenuA(SystemMenu, MF_SEPARATOR, 0, nullptr);
  DebugMenu = CreatePopupMenu();
  for (const DebugItem& item : kItems) {
    AppendMenuA(DebugMenu, item.id == 0 ? MF_SEPARATOR : MF_STRING, item.id, item.label);
  }
  SetGrey(DebugMenu, kNotice, true);
  if (SampleStore.fileChannels == 1) SetGrey(DebugMenu, kVectorscopeCommand, true);
  for (const UINT id : kCheckedAtStart) SetMark(DebugMenu, id, true);
  AppendMenuA(SystemMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(DebugMenu), "menu for debug");
  ForgetRadioMarks();
  MarkFromSettings(Settings);
}
