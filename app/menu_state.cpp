#include "app/menu_state.h"

#include <span>

HMENU SystemMenu = nullptr;
HMENU DebugMenu = nullptr;
HMENU MainPopup = nullptr;
std::atomic<int32_t> MenuOpen{0};

namespace {

constexpr RadioItem kWindowFunctions[] = {{1, 't'}, {2, 'n'}, {3, 'g'}, {4, 'm'}, {5, 'h'},
                                          {6, 'r'}, {7, 's'}, {8, 'b'}, {9, 'f'}, {10, 'z'}};
// A pause of 0 marks 13 ("1timeスライス未満"): the no-pause item 87 is never in force at start-up.
constexpr RadioItem kFftPauses[] = {{13, 0},  {87, 0},  {109, 1}, {14, 5},  {15, 10},
                                    {16, 20}, {17, 50}, {18, 100}, {20, 500}};
constexpr RadioItem kFftLengths[] = {{28, 64},   {29, 128},  {30, 256},  {21, 512},   {22, 1024},
                                     {23, 2048}, {24, 4096}, {25, 8192}, {26, 16384}, {121, 32768}};
constexpr RadioItem kFftMagnifications[] = {{31, 5}, {32, 10}, {33, 20}, {34, 50}, {41, 100}, {42, 200}};
constexpr RadioItem kFftPriorities[] = {{35, 0}, {36, 1}, {37, 2}};
constexpr RadioItem kSgMagnifications[] = {{43, 5},  {44, 10}, {45, 20},  {88, 30},  {124, 35},  {125, 40},
                                           {46, 50}, {75, 75}, {47, 100}, {58, 150}, {48, 200}, {50, 400}};
constexpr RadioItem kVsSamples[] = {{66, 200}, {67, 300}, {68, 400}, {69, 500}, {70, 1000}, {71, 2000}, {72, 3000}};
constexpr RadioItem kWavPauses[] = {{77, 0}, {78, 5}, {79, 10}, {80, 20}, {81, 50}};

constexpr UINT kWavPauseRememberedAtStart = 80;

struct RadioGroup {
  std::span<const RadioItem> items;
  UINT remembered;
};

RadioGroup groups[] = {{kWindowFunctions, 0}, {kFftPauses, 0},        {kFftLengths, 0}, {kFftMagnifications, 0},
                       {kFftPriorities, 0},   {kSgMagnifications, 0}, {kVsSamples, 0},  {kWavPauses, kWavPauseRememberedAtStart}};

RadioGroup& GroupOf(Radio group) { return groups[static_cast<int32_t>(group)]; }

}  // namespace

void SetMark(HMENU menu, UINT id, bool checked) {
  CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void SetGrey(HMENU menu, UINT id, bool grey) { EnableMenuItem(menu, id, MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED)); }

const RadioItem* FindRadioItem(UINT id, Radio* group) {
  for (int32_t g = 0; g < static_cast<int32_t>(std::size(groups)); ++g) {
    for (const RadioItem& item : groups[g].items) {
      if (item.id != id) continue;
      if (group) *group = static_cast<Radio>(g);
      return &item;
    }
  }
  return nullptr;
}

void ChooseRadioItem(Radio group, UINT id) {
  RadioGroup& radio = GroupOf(group);
  if (radio.remembered != 0) SetMark(SystemMenu, radio.remembered, false);
  SetMark(SystemMenu, id, true);
  radio.remembered = id;
}

void MarkRadioValue(Radio group, int32_t value) {
  for (const RadioItem& item : GroupOf(group).items) {
    if (item.value != value) continue;
    ChooseRadioItem(group, item.id);
    return;
  }
}

void ForgetRadioMarks() {
  for (RadioGroup& group : groups) group.remembered = 0;
  GroupOf(Radio::WavPause).remembered = kWavPauseRememberedAtStart;
}
