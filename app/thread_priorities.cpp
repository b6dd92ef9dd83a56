#include "app/thread_priorities.h"

#include "analysis/fft_thread.h"
#include "app/menu_state.h"
#include "shared/sg_control.h"

namespace {

constexpr UINT kFftNormal = 35;
constexpr UINT kSgNormal = 59;
constexpr UINT kSgAboveNormal = 60;

void MarkSgLevel(int32_t level) {
  SetMark(SystemMenu, kSgNormal, level == 0);
  SetMark(SystemMenu, kSgAboveNormal, level != 0);
}

}  // namespace

void ChooseFftThreadPriority(UINT command) {
  Radio group;
  const RadioItem* item = FindRadioItem(command, &group);
  if (item && group == Radio::FftPriority && SetFftThreadPriority(item->value)) ChooseRadioItem(group, command);
}

void ChooseSgThreadPriority(UINT command) {
  const int32_t level = command == kSgAboveNormal ? 1 : 0;
  SgPriorityLevel = level;
  const HANDLE thread = SgControl.threadHandle;
  if (thread && SetThreadPriority(thread, level == 1 ? THREAD_PRIORITY_ABOVE_NORMAL : THREAD_PRIORITY_NORMAL)) {
    MarkSgLevel(level);
  }
}

void ResetThreadPriorityLevels() {
  FftPriorityLevel = 0;
  SgPriorityLevel = 0;
  ChooseRadioItem(Radio::FftPriority, kFftNormal);
  MarkSgLevel(0);
}
