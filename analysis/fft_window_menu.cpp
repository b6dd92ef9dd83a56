#include "analysis/fft_window_menu.h"

#include <algorithm>
#include <iterator>

#include "analysis/fft_graph_flags.h"
#include "analysis/fft_thread.h"
#include "analysis/window_function.h"
#include "shared/menu_table.h"
#include "shared/sg_control.h"
#include "shared/shortcut_marker.h"

HMENU FftPopup = nullptr;

namespace {

using Entry = MenuEntryKind;

// After the window-function submenu, in menu order; notices are greyed items that are not
// commands.
constexpr MenuEntry kEntries[] = {
    {Entry::Separator, 0, nullptr},
    {Entry::Item, 11, "周波数軸logに"},
    {Entry::Item, 12, "周波数軸linerに"},
    {Entry::Item, 165, "周波数軸＆縦軸logに(簡易)"},
    {Entry::Separator, 0, nullptr},
    {Entry::Begin, 0, "fft休止時間"},
    {Entry::Item, 87, "なし"},
    {Entry::Item, 13, "1timeスライス未満"},
    {Entry::Item, 109, "1ms"},
    {Entry::Item, 14, "5ms"},
    {Entry::Item, 15, "10ms"},
    {Entry::Item, 16, "20ms"},
    {Entry::Item, 17, "50ms"},
    {Entry::Item, 18, "100ms"},
    {Entry::Item, 20, "500ms"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "fftsample"},
    {Entry::Notice, 74, "再生中は変更反映されません"},
    {Entry::Item, 28, "64"},
    {Entry::Item, 29, "128"},
    {Entry::Item, 30, "256"},
    {Entry::Item, 21, "512"},
    {Entry::Item, 22, "1024"},
    {Entry::Item, 23, "2048"},
    {Entry::Item, 24, "4096"},
    {Entry::Item, 25, "8192"},
    {Entry::Item, 26, "16384"},
    {Entry::Separator, 0, nullptr},
    {Entry::Notice, 112, "↓radix 4 and 2."},
    {Entry::Item, 113, "64"},
    {Entry::Item, 114, "256"},
    {Entry::Item, 115, "1024"},
    {Entry::Item, 116, "4096"},
    {Entry::Item, 117, "16384"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "fftgraph表示倍率"},
    {Entry::Item, 31, "5倍"},
    {Entry::Item, 32, "10倍"},
    {Entry::Item, 33, "20倍"},
    {Entry::Item, 34, "50倍"},
    {Entry::Item, 41, "100倍"},
    {Entry::Item, 42, "200倍"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "fftthread優先度"},
    {Entry::Item, 35, "+0(通常に戻す)"},
    {Entry::Item, 36, "+1"},
    {Entry::Item, 37, "+2"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "fft 補間"},
    {Entry::Item, 61, "しない"},
    {Entry::Item, 62, "補間で2倍にする(wav1/2)"},
    {Entry::Item, 63, "補間で4倍にする(wav1/4)"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "fft 補間種類"},
    {Entry::Item, 104, "0補間"},
    {Entry::End, 0, nullptr},
    {Entry::Item, 103, "pinknoizeflatingfilter"},
    {Entry::Item, 122, "loudnessの低域補正fiter"},
    {Entry::Item, 123, "0hzに直流成分を描かない"},
    {Entry::Begin, 0, "時間方向のsmoothing filter"},
    {Entry::Item, 162, "なし"},
    {Entry::Item, 151, "normal(今までの)"},
    {Entry::Item, 161, "light"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "fft 描画type"},
    {Entry::Item, 152, "今までの"},
    {Entry::Item, 153, "new in log,kani(不完全。時として高速)"},
    {Entry::Item, 154, "線で消して線で書く in log,kani"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "簡易rateconverter for fft"},
    {Entry::Item, 155, "変換しない"},
    {Entry::Item, 156, "1/2"},
    {Entry::Item, 158, "1/4"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "debug"},
    {Entry::Item, 19, "graphすっきりさせる(kani)"},
    {Entry::Item, 96, "lightdraw in log,kani"},
    {Entry::End, 0, nullptr},
    {Entry::Separator, 0, nullptr},
    {Entry::Item, 54, "このwindow更新停止"},
};

// Radio groups: the item whose value the state holds carries the mark.
struct ValueItem {
  UINT id;
  int32_t value;
};
constexpr ValueItem kPauseItems[] = {{109, 1}, {14, 5}, {15, 10}, {16, 20}, {17, 50}, {18, 100}, {20, 500}};
constexpr ValueItem kRadix2Sizes[] = {{28, 64},   {29, 128},  {30, 256},  {21, 512},  {22, 1024},
                                      {23, 2048}, {24, 4096}, {25, 8192}, {26, 16384}};
constexpr ValueItem kMagnifications[] = {{31, 5}, {32, 10}, {33, 20}, {34, 50}, {41, 100}, {42, 200}};
constexpr ValueItem kPriorities[] = {{35, 0}, {36, 1}, {37, 2}};
constexpr ValueItem kZeroFills[] = {{61, 1}, {62, 2}, {63, 4}};
constexpr ValueItem kSmoothings[] = {{162, 0}, {151, 1}, {161, 2}};
constexpr ValueItem kRateConverters[] = {{155, 0}, {156, 2}, {158, 4}};

// The sizes under "↓radix 4 and 2.": each chooses radix 4 here and passes on the plain size
// command of the same size.
struct Radix4Size {
  UINT id;
  int32_t size;
  UINT sizeCommand;
};
constexpr Radix4Size kRadix4Sizes[] = {{113, 64, 28}, {114, 256, 30}, {115, 1024, 22}, {116, 4096, 24}, {117, 16384, 26}};

// Commands the main window's system-command handler carries out, besides the sizes.
constexpr UINT kForwardedCommands[] = {1,  2,  3,  4,  5,  6,   7,   8,  9,  10, 11, 12, 87, 13, 109, 14, 15,
                                       16, 17, 18, 20, 31, 32,  33,  34, 41, 42, 35, 36, 37, 61, 62,  63, 104,
                                       103, 19, 96, 54, 64, 65, 76, 85, 86, 107, 108};

constexpr UINT kLevelAxisCommand = 165;
// A main window accelerator that its command handler (not the system-command one) takes.
constexpr UINT kPassedOnAsCommand = 97;
constexpr UINT kLoudnessCommand = 122;
constexpr UINT kZeroHzCommand = 123;
constexpr UINT kOldDrawingCommand = 152;
constexpr UINT kNewDrawingCommand = 153;
constexpr UINT kLineDrawingCommand = 154;
constexpr UINT kCloseCommand = 95;
constexpr UINT kZeroFillKindCommand = 104;
constexpr UINT kTransportCommands[] = {92, 93, 94};
constexpr char kTransportKeys[] = {'p', 't', 's'};

template <typename Table>
auto FindIn(const Table& table, UINT id) {
  return std::find_if(std::begin(table), std::end(table), [id](const auto& item) { return item.id == id; });
}

template <typename Table>
bool In(const Table& table, UINT id) {
  return FindIn(table, id) != std::end(table);
}

void Mark(HMENU popup, UINT id, bool checked) {
  CheckMenuItem(popup, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

template <typename Table>
void MarkGroup(HMENU popup, const Table& table, int32_t value) {
  for (const ValueItem& item : table) Mark(popup, item.id, item.value == value);
}

int32_t Toggled(int32_t value) { return value == 0 ? 1 : 0; }

}  // namespace

HMENU BuildFftPopup() {
  const HMENU popup = CreatePopupMenu();
  const HMENU windows = CreatePopupMenu();
  for (int i = 0; i < kWindowKindCount; ++i) AppendMenuA(windows, MF_STRING, i + 1, WindowKinds[i].menuLabel);
  AppendMenuA(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(windows), "窓関数");

  AppendMenuTable(popup, kEntries);

  const HMENU bar = CreateMenu();
  AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "fftmenu dummy");
  FftPopup = GetSubMenu(bar, 0);
  return bar;
}

void MarkFftPopup(HMENU popup, const SettingsRecord& settings) {
  const char kind = settings.wfkind;
  for (int i = 0; i < kWindowKindCount; ++i) Mark(popup, i + 1, WindowKinds[i].letter == kind);

  const bool log = FftLogAxis == 1;
  const bool levelAxis = FftLevelAxis == 1;
  Mark(popup, 11, log && !levelAxis);
  Mark(popup, 12, !log);
  Mark(popup, kLevelAxisCommand, log && levelAxis);

  const int32_t pause = settings.fftwindowsleeptime;
  Mark(popup, 87, pause == 0 && FftSleepNone == 1);
  Mark(popup, 13, pause == 0 && FftSleepNone == 0);
  MarkGroup(popup, kPauseItems, pause);

  // The size and radix in force: a choice made while playing shows from the next start on.
  const int32_t size = settings.fftsample;
  const int32_t radix4 = settings.fftradix4flag;
  MarkGroup(popup, kRadix2Sizes, radix4 == 0 ? size : 0);
  for (const Radix4Size& item : kRadix4Sizes) Mark(popup, item.id, radix4 == 1 && item.size == size);

  MarkGroup(popup, kMagnifications, settings.fftgraphmagnified);
  MarkGroup(popup, kPriorities, FftPriorityLevel);
  MarkGroup(popup, kZeroFills, settings.zerofill);
  Mark(popup, kZeroFillKindCommand, true);  // the only interpolation kind, in force from start-up
  Mark(popup, 103, settings.pinknoizeflatingfilter == 1);
  Mark(popup, kLoudnessCommand, settings.loudnessrevice == 1);
  Mark(popup, kZeroHzCommand, settings.fftgraph0hzdraw == 0);
  MarkGroup(popup, kSmoothings, settings.smoothingfilter);
  Mark(popup, kOldDrawingCommand, settings.fftdrawold == 1);
  Mark(popup, kNewDrawingCommand, settings.fftdrawold == 0 && settings.fftdrawline == 0);
  Mark(popup, kLineDrawingCommand, settings.fftdrawline == 1);
  MarkGroup(popup, kRateConverters, settings.downrateforfft);
  Mark(popup, 19, FftOnePointPerColumn == 1);
  Mark(popup, 96, settings.fftgraphmodelight == 1);
  Mark(popup, 54, FftUpdatesStopped == 1);
}

bool OnFftCommand(HWND mainWindow, SettingsRecord& settings, SampleStoreRecord& store, WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  if (In(kRadix2Sizes, id)) {
    settings.fftradix4flagRequested = 0;
    PostMessageA(mainWindow, WM_SYSCOMMAND, id, lParam);
  } else if (const auto radix4 = FindIn(kRadix4Sizes, id); radix4 != std::end(kRadix4Sizes)) {
    settings.fftradix4flagRequested = 1;
    PostMessageA(mainWindow, WM_SYSCOMMAND, radix4->sizeCommand, lParam);
  } else if (std::find(std::begin(kForwardedCommands), std::end(kForwardedCommands), id) !=
             std::end(kForwardedCommands)) {
    PostMessageA(mainWindow, WM_SYSCOMMAND, id, lParam);
  } else if (id == kLevelAxisCommand || id == kPassedOnAsCommand) {
    PostMessageA(mainWindow, WM_COMMAND, id, lParam);
  } else if (const auto* transport = std::find(std::begin(kTransportCommands), std::end(kTransportCommands), id);
             transport != std::end(kTransportCommands)) {
    PostMessageA(mainWindow, WM_CHAR, kTransportKeys[transport - std::begin(kTransportCommands)], ShortcutMarker);
  } else if (id == kCloseCommand) {
    PostMessageA(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (id == kLoudnessCommand) {
    settings.loudnessrevice = Toggled(settings.loudnessrevice);
  } else if (id == kZeroHzCommand) {
    settings.fftgraph0hzdraw = Toggled(settings.fftgraph0hzdraw);
  } else if (const auto smoothing = FindIn(kSmoothings, id); smoothing != std::end(kSmoothings)) {
    settings.smoothingfilter = smoothing->value;
  } else if (id == kOldDrawingCommand || id == kNewDrawingCommand || id == kLineDrawingCommand) {
    settings.fftdrawold = id == kOldDrawingCommand ? 1 : 0;
    settings.fftdrawline = id == kLineDrawingCommand ? 1 : 0;
    FftRelayout = 1;
  } else if (const auto converter = FindIn(kRateConverters, id); converter != std::end(kRateConverters)) {
    settings.downrateforfft = converter->value;
    store.analysisRate = store.fileRate / std::max(converter->value, 1);
    FftRelayout = 1;
    SgControl.clearRequest = 1;
  } else {
    return false;
  }
  return true;
}
