#include "app/main_popup.h"

#include <iterator>

#include "app/menu_state.h"
#include "audio/playback.h"
#include "shared/menu_table.h"
#include "shared/sample_store.h"
#include "shared/settings.h"
#include "shared/sg_control.h"

namespace {

using Entry = MenuEntryKind;

// In menu order.
constexpr MenuEntry kEntries[] = {
    {Entry::Item, 92, "play"},
    {Entry::Item, 93, "pause"},
    {Entry::Item, 94, "stop"},
    {Entry::Item, 85, "5秒早送り"},
    {Entry::Item, 86, "5秒巻き戻し"},
    {Entry::Item, 107, "wav入力start"},
    {Entry::Item, 108, "wav入力stop"},
    {Entry::Item, 112, "再生速度2倍(仮想的rate2倍)"},
    {Entry::Item, 114, "簡易音の高さ1/2beta for 1ch"},
    {Entry::Item, 118, "再生速度2倍(wavをblockで間引き)"},
    {Entry::Begin, 0, "再生s.freq(再生開始時有効)"},
    {Entry::Item, 139, "8000hz"},
    {Entry::Item, 140, "11025hz"},
    {Entry::Item, 142, "16000hz"},
    {Entry::Item, 143, "22050hz"},
    {Entry::Item, 145, "32000hz"},
    {Entry::Item, 146, "44100hz"},
    {Entry::Item, 147, "48000hz"},
    {Entry::End, 0, nullptr},
    {Entry::Separator, 0, nullptr},
    {Entry::Item, 64, "sgwindow表示"},
    {Entry::Item, 65, "vswindow表示"},
    {Entry::Item, 76, "wavwindow表示"},
    {Entry::Separator, 0, nullptr},
    {Entry::Item, 116, "このwindow更新ゆっくりに"},
    {Entry::Item, 120, "このwindowいっぱい表示"},
    {Entry::Item, 123, "今回の終了で場所とサイズを保存しない"},
    {Entry::Begin, 0, "levelmetertype"},
    {Entry::Item, 133, "sub(wide)"},
    {Entry::Item, 134, "rmsっぽい"},
    {Entry::Item, 135, "peak"},
    {Entry::Item, 136, "sub"},
    {Entry::Item, 149, "rms(simple)"},
    {Entry::Item, 150, "rms(accuracy)"},
    {Entry::End, 0, nullptr},
    {Entry::Begin, 0, "debug"},
    {Entry::Item, 98, "threadid"},
    {Entry::Item, 99, "errorflag"},
    {Entry::Item, 100, "levelmeterthread info"},
    {Entry::Item, 113, "current spect."},
    {Entry::Item, 117, "variable value"},
    {Entry::Item, 119, "ini path"},
    {Entry::Item, 122, "client size"},
    {Entry::Item, 126, "peak"},
    {Entry::Item, 157, "int3発行(わかんない人押さないで)"},
    {Entry::Item, 164, "winver"},
    {Entry::Item, 166, "wfkindchenge=1"},
    {Entry::End, 0, nullptr},
    {Entry::Item, 95, "soft 終了(&x)"},
};

constexpr UINT kLevelMeterTypes[] = {133, 134, 135, 136, 149, 150};

struct RateItem {
  UINT id;
  int32_t rate;
};
constexpr RateItem kRates[] = {{139, 8000},  {140, 11025}, {142, 16000}, {143, 22050},
                               {145, 32000}, {146, 44100}, {147, 48000}};

constexpr UINT kPitchHalf = 114;
constexpr UINT kVectorscope = 65;

}  // namespace

void BuildMainPopup() {
  const HMENU popup = CreatePopupMenu();
  AppendMenuTable(popup, kEntries);
  const HMENU wrapper = CreateMenu();
  AppendMenuA(wrapper, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), "morvexmenu dummy");
  MainPopup = GetSubMenu(wrapper, 0);
}

void RefreshMainPopup() {
  const HMENU menu = MainPopup;
  SetMark(menu, 123, Settings.withoutsavewindowsetting == 1);
  // Both marks follow the state, also back to unchecked once key "2" or "1" has turned it off.
  SetMark(menu, 120, Settings.mainwindowparafull != 0);
  SetMark(menu, 116, Settings.mainwindowinvailintervalvariable != 10);
  // The popup is built before the source is open: the items that depend on its channels are
  // greyed here. The pitch mode works on one channel only; once grey it stays grey.
  if (SampleStore.fileChannels == 2) SetGrey(menu, kPitchHalf, true);
  SetGrey(menu, kVectorscope, SampleStore.fileChannels != 2);
  SetMark(menu, 118, speedDoubleBlocks == 1);
  SetMark(menu, kPitchHalf, pitchHalf == 1);
  SetMark(menu, 112, speedDoubleDecimate == 1);
  SetMark(menu, 64, SgWindowShown == 1);
  SetMark(menu, kVectorscope, Settings.vswindowstop != 1);
  SetMark(menu, 76, Settings.wavwindowstop != 1);
  const int32_t type = Settings.levelmetertype;
  for (int32_t i = 0; i < static_cast<int32_t>(std::size(kLevelMeterTypes)); ++i) {
    SetMark(menu, kLevelMeterTypes[i], i == type);
  }
  for (const RateItem& item : kRates) SetMark(menu, item.id, item.rate == Settings.playfreqoptional);
}

void ShowMainPopup(HWND mainWindow, int x, int y) {
  RefreshMainPopup();
  POINT point{x, y};
  ClientToScreen(mainWindow, &point);
  TrackPopupMenu(MainPopup, TPM_LEFTALIGN, point.x, point.y, 0, mainWindow, nullptr);
}
