#include "spectrogram/sg_window_menu.h"

#include <algorithm>
#include <atomic>
#include <iterator>

#include "shared/menu_table.h"
#include "shared/settings.h"
#include "shared/sg_control.h"

namespace {

using Entry = MenuEntryKind;

constexpr MenuEntry kEntries[] = {
    {Entry::Begin, 0, "sg表示倍率"},
    {Entry::Item, 43, "5倍"},
    {Entry::Item, 44, "10倍"},
    {Entry::Item, 45, "20倍"},
    {Entry::Item, 88, "30倍"},
    {Entry::Item, 124, "35倍"},
    {Entry::Item, 125, "40倍"},
    {Entry::Item, 46, "50倍"},
    {Entry::Item, 75, "75倍"},
    {Entry::Item, 47, "100倍"},
    {Entry::Item, 58, "150倍"},
    {Entry::Item, 48, "200倍"},
    {Entry::Item, 50, "400倍"},
    {Entry::End, 0, nullptr},
    {Entry::Separator, 0, nullptr},
    {Entry::Item, 49, "一番右行ったらclearして戻る"},
    {Entry::Item, 89, "補間する"},
    {Entry::Item, 90, "underline"},
    {Entry::Item, 91, "cousorの場所の詳細表示"},
    {Entry::Item, 56, "縦(周波数軸)をlinerにする"},
    {Entry::Item, 57, "colorにする"},
    {Entry::Item, 127, "lps表示"},
    {Entry::Item, 128, "peak表示"},
    {Entry::Item, 132, "scaleの数字ずっと表示"},
    {Entry::Item, 159, "fftの計算point表示"},
    {Entry::Item, 160, "scaleの線scrollしても表示"},
    {Entry::Item, 163, "cのところ緑の点で表示"},
    {Entry::Begin, 0, "debug option"},
    {Entry::Item, 52, "いっぱい描く"},
    {Entry::Item, 51, "次まで待つ"},
    {Entry::End, 0, nullptr},
    {Entry::Separator, 0, nullptr},
    {Entry::Begin, 0, "sg(color) graphtype"},
    {Entry::Item, 83, "type1(old)"},
    {Entry::Item, 84, "type2(b,g wide)"},
    {Entry::Item, 102, "type 3"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "sg thread priority"},
    {Entry::Item, 59, "+0"},
    {Entry::Item, 60, "+1(up)"},
    {Entry::End, 0, nullptr},
    {Entry::Separator, 0, nullptr},
    {Entry::Item, 101, "このwindowをclear"},
    {Entry::Item, 53, "このwindow更新停止"},
};

struct ValueItem {
  UINT id;
  int32_t value;
};
constexpr ValueItem kMagnifications[] = {{43, 5},   {44, 10},  {45, 20},  {88, 30},   {124, 35},  {125, 40},
                                         {46, 50},  {75, 75},  {47, 100}, {58, 150},  {48, 200},  {50, 400}};
constexpr ValueItem kGraphTypes[] = {{83, 0}, {84, 1}, {102, 2}};

// The display switches only the spectrogram thread reads: toggled here.
struct LocalSwitch {
  UINT id;
  std::atomic<int32_t> SettingsRecord::*setting;
};
constexpr LocalSwitch kLocalSwitches[] = {
    {127, &SettingsRecord::sgwindowlps},        {128, &SettingsRecord::sgpeakshow},
    {132, &SettingsRecord::sghzdraw},           {159, &SettingsRecord::sgfftpointshow},
    {160, &SettingsRecord::sgscaleshowalltime}, {163, &SettingsRecord::sgkeycshow},
};

constexpr UINT kPriorityNormal = 59;
constexpr UINT kPriorityUp = 60;
constexpr UINT kWaitForNext = 51;

void Mark(HMENU popup, UINT id, bool checked) {
  CheckMenuItem(popup, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

bool Forwarded(UINT id) {
  const auto isId = [id](const MenuEntry& entry) { return entry.kind == Entry::Item && entry.id == id; };
  const auto isLocal = [id](const LocalSwitch& local) { return local.id == id; };
  return std::any_of(std::begin(kEntries), std::end(kEntries), isId) &&
         std::none_of(std::begin(kLocalSwitches), std::end(kLocalSwitches), isLocal);
}

}  // namespace

HMENU BuildSgPopup(HMENU* popup) {
  const HMENU menu = CreateMenu();
  AppendMenuTable(menu, kEntries);
  const HMENU outer = CreateMenu();
  AppendMenuA(outer, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), "sg menu dummy");
  *popup = GetSubMenu(outer, 0);
  return outer;
}

void MarkSgPopup(HMENU popup, int32_t* checkedMagnification) {
  const SettingsRecord& s = Settings;
  const int32_t magnified = s.sggraphmagnified;
  const auto* magnification = std::find_if(std::begin(kMagnifications), std::end(kMagnifications),
                                           [magnified](const ValueItem& item) { return item.value == magnified; });
  if (magnification != std::end(kMagnifications)) {
    if (*checkedMagnification != 0) Mark(popup, static_cast<UINT>(*checkedMagnification), false);
    Mark(popup, magnification->id, true);
    *checkedMagnification = static_cast<int32_t>(magnification->id);
  }
  Mark(popup, kWaitForNext, s.sgspectnowait == 0);
  Mark(popup, 49, s.sggraphreturn == 1);
  Mark(popup, 52, s.sgspectmanydraw == 1);
  Mark(popup, 56, s.sgliner == 1);
  Mark(popup, 57, s.sgcolor == 1);
  Mark(popup, 89, s.sginterpolate == 1);
  const int32_t type = s.sggraphtype;
  if (type >= 0 && type <= 2) {
    for (const ValueItem& item : kGraphTypes) Mark(popup, item.id, item.value == type);
  }
  Mark(popup, kPriorityNormal, SgPriorityLevel == 0);
  Mark(popup, kPriorityUp, SgPriorityLevel != 0);
  Mark(popup, 90, s.sgunderline == 1);
  Mark(popup, 91, s.sgmousecurhzdis == 1);
  Mark(popup, 53, SgControl.stopped == 1);
  for (const LocalSwitch& local : kLocalSwitches) Mark(popup, local.id, (s.*local.setting).load() == 1);
}

void OnSgCommand(HWND mainWindow, WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const auto* local = std::find_if(std::begin(kLocalSwitches), std::end(kLocalSwitches),
                                   [id](const LocalSwitch& item) { return item.id == id; });
  if (local != std::end(kLocalSwitches)) {
    std::atomic<int32_t>& setting = Settings.*local->setting;
    setting = setting == 0 ? 1 : 0;
  } else if (Forwarded(id)) {
    PostMessageA(mainWindow, WM_SYSCOMMAND, id, lParam);
  }
}
