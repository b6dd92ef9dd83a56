// The main window's menu commands, one step each with playback stopped and no view thread
// running: what each changes (values, requests to the views, check marks and grey items of both
// menus), and that it changes nothing else.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "observed_state.h"

namespace {

using namespace observed_state;

struct RadioItemValue {
  UINT id;
  const char* value;
};

// A radio group: its setting, what every choice requests besides, the item checked at start-up.
struct RadioGroupCase {
  const char* setting;
  const char* requests;
  UINT checkedAtStart;
  std::vector<RadioItemValue> items;
};

const RadioGroupCase kRadioGroups[] = {
    {"wfkind", "windowRebuild=1", 9,
     {{1, "t"}, {2, "n"}, {3, "g"}, {4, "m"}, {5, "h"}, {6, "r"}, {7, "s"}, {8, "b"}, {9, "f"}, {10, "z"}}},
    {"fftwindowsleeptime", "", 14,
     {{87, "0 fftSleepNone=1"}, {13, "0 fftSleepNone=0"}, {109, "1"}, {14, "5"}, {15, "10"}, {16, "20"},
      {17, "50"}, {18, "100"}, {20, "500"}}},
    {"fftsampleRequested", "", 23,
     {{28, "64"}, {29, "128"}, {30, "256"}, {21, "512"}, {22, "1024"}, {23, "2048"}, {24, "4096"}, {25, "8192"},
      {26, "16384"}, {121, "32768"}}},
    {"fftgraphmagnified", "fftRelayout=1", 33, {{31, "5"}, {32, "10"}, {33, "20"}, {34, "50"}, {41, "100"}, {42, "200"}}},
    {"sggraphmagnified", "sgRescale=1", 46,
     {{43, "5"}, {44, "10"}, {45, "20"}, {88, "30"}, {124, "35"}, {125, "40"}, {46, "50"}, {75, "75"},
      {47, "100"}, {58, "150"}, {48, "200"}, {50, "400"}}},
    {"vecscpsample", "vsParams=1", 67,
     {{66, "200"}, {67, "300"}, {68, "400"}, {69, "500"}, {70, "1000"}, {71, "2000"}, {72, "3000"}}},
    {"wavwindowsleeptime", "", 80, {{77, "0"}, {78, "5"}, {79, "10"}, {80, "20"}, {81, "50"}}},
};

// A debug menu item that flips a value between 0 and 1: the value it starts with, the value its
// mark stands for, and what switching on and off changes besides.
struct ToggleCase {
  UINT id;
  const char* value;
  int start, checkedWhen;
  const char* on;
  const char* off;
};

const ToggleCase kToggles[] = {
    {19, "fftOnePoint", 1, 1, "", ""},
    {49, "sggraphreturn", 1, 1, "", ""},
    {51, "sgspectnowait", 0, 0, "", ""},
    {52, "sgspectmanydraw", 1, 1, "", ""},
    {56, "sgliner", 0, 1, "sgClear=1", ""},
    {57, "sgcolor", 1, 1, "sgClear=1", ""},
    {73, "vsLine", 1, 1, "", ""},
    {82, "wavgphffts", 0, 1, "", ""},
    {89, "sginterpolate", 1, 1, "", ""},
    {90, "sgunderline", 0, 1, "", ""},
    {91, "sgmousecurhzdis", 0, 1, "", ""},
    {96, "fftgraphmodelight", 1, 1, "", ""},
    {103, "pinknoizeflatingfilter", 1, 1, "", ""},
    {115, "speedHalf", 0, 1, "", ""},
    {112, "speedDoubleDecimate", 0, 1, "popupgrey118=1", "popupgrey118=0"},
    {118, "speedDoubleBlocks", 0, 1, "popupgrey112=1", "popupgrey112=0"},
    {114, "pitchHalf", 0, 1, "timer1=1000 priorityClass=" IDLE, "timer1=1000 priorityClass=" NORMAL},
};

// The popup's value submenus: the choice sets the value, the next right click moves the mark.
const RadioGroupCase kPopupGroups[] = {
    {"playfreqoptional", "", 146,  // the file's own rate, set by the first resize
     {{139, "8000"}, {140, "11025"}, {142, "16000"}, {143, "22050"}, {145, "32000"}, {147, "48000"}, {146, "44100"}}},
    {"levelmetertype", "", 134, {{133, "0"}, {135, "2"}, {136, "3"}, {149, "4"}, {150, "5"}, {134, "1"}}},
};

std::string Id(UINT id) { return std::to_string(id); }

class MenuCommandsTest : public ObservedRig {
 protected:
  void SetUp() override {
    ObservedRig::SetUp();
    Start(main_window_rig::Pattern(400000), test_support::FmtFields{});  // two channels: every view
    Posted('s');
    ASSERT_TRUE(RunUntil(NoViewThreads));
    ServeRequestsBeforeEachStep();
  }
};

TEST_F(MenuCommandsTest, RadioGroupsMoveTheirMarkToEachChoiceAndSetItsValue) {
  std::vector<Step> steps;
  for (const RadioGroupCase& group : kRadioGroups) {
    UINT checked = group.checkedAtStart;
    for (const RadioItemValue& item : group.items) {
      steps.push_back(SysCommand(item.id,
          std::string(group.setting) + "=" + item.value + " " + group.requests + " check" + Id(checked) +
              "=0 check" + Id(item.id) + "=1"));
      checked = item.id;
    }
  }
  RunSteps(steps);
}

TEST_F(MenuCommandsTest, TogglesFlipTheirValueAndMarkAndBack) {
  std::vector<Step> steps;
  for (const ToggleCase& t : kToggles) {
    for (const int value : {1 - t.start, t.start}) {
      steps.push_back(SysCommand(t.id,
          std::string(t.value) + "=" + std::to_string(value) + " check" + Id(t.id) + "=" +
              (value == t.checkedWhen ? "1 " : "0 ") + (value == 1 ? t.on : t.off)));
    }
  }
  RunSteps(steps);
}

TEST_F(MenuCommandsTest, PopupChoicesSetTheirValueAndTheNextRightClickMarksIt) {
  std::vector<Step> steps;
  steps.push_back(RightClick("popupgrey114=1 popupcheck64=1 popupcheck134=1 popupcheck146=1"));
  for (const RadioGroupCase& group : kPopupGroups) {
    UINT checked = group.checkedAtStart;
    for (const RadioItemValue& item : group.items) {
      steps.push_back(Command(item.id, std::string(group.setting) + "=" + item.value));
      steps.push_back(RightClick("popupcheck" + Id(checked) + "=0 popupcheck" + Id(item.id) + "=1"));
      checked = item.id;
    }
  }
  RunSteps(steps);
}

TEST_F(MenuCommandsTest, EveryOtherCommandChangesWhatItShould) {
  RunSteps({
      SysCommand(12, "fftLogAxis=0 fftRelayout=1 check11=0 check12=1"),
      SysCommand(11, "fftLogAxis=1 fftRelayout=1 check11=1 check12=0"),
      Command(165, "fftLevelAxis=1 fftRelayout=1"),
      SysCommand(12, "fftLogAxis=0 fftLevelAxis=0 fftRelayout=1 check11=0 check12=1"),
      SysCommand(19, "fftOnePoint=0 check19=0"),
      SysCommand(96, "fftgraphmodelight=0 check96=0"),
      Command(165, "fftLogAxis=1 fftLevelAxis=1 fftOnePoint=1 fftgraphmodelight=1 fftRelayout=1"),
      SysCommand(53, "sgStopped=1 check53=1"),
      SysCommand(53, "sgStopped=0 check53=0"),
      SysCommand(62, "zerofill=2 samplesPerFrame=1024 windowRebuild=1 sgClear=1 check61=0 check62=1"),
      SysCommand(63, "zerofill=4 samplesPerFrame=512 windowRebuild=1 sgClear=1 check62=0 check63=1"),
      SysCommand(61, "zerofill=1 samplesPerFrame=2048 windowRebuild=1 sgClear=1 check63=0 check61=1"),
      SysCommand(83, "sggraphtype=0 check84=0 check83=1"),
      SysCommand(102, "sggraphtype=2 check83=0 check102=1"),
      SysCommand(84, "sggraphtype=1 check102=0 check84=1"),
      SysCommand(101, "sgClear=1"),
      SysCommand(104, ""),  // the only interpolation kind: stays chosen
      SysCommand(111, "fftradix4flag=1"),
      SysCommand(110, "fftradix4flag=0"),
      SysCommand(85, "posted=h"),
      SysCommand(86, "posted=g"),
      Command(85, "posted=h"),
      Command(86, "posted=g"),
      Command(120, "posted=2"),
      Command(116, "posted=z check116=1 popupcheck116=1"),
      SysCommand(116, "posted=1 check116=0 popupcheck116=0"),
      Command(123, "withoutsavewindowsetting=1"),
      RightClick("popupgrey114=1 popupcheck64=1 popupcheck134=1 popupcheck146=1 popupcheck120=1 popupcheck123=1"),
      Command(123, "withoutsavewindowsetting=0"),
      Command(120, "posted=2"),  // the full display off again
      Command(112, "speedDoubleDecimate=1 check112=1 popupgrey118=1"),
      RightClick("popupcheck112=1 popupcheck123=0 popupcheck120=0"),
      Command(112, "speedDoubleDecimate=0 check112=0 popupgrey118=0"),
      Command(118, "speedDoubleBlocks=1 check118=1 popupgrey112=1"),
      Command(114, "pitchHalf=1 check114=1 timer1=1000 priorityClass=" IDLE),
      RightClick("popupcheck118=1 popupcheck114=1 popupcheck112=0"),
      Command(114, "pitchHalf=0 check114=0 timer1=1000 priorityClass=" NORMAL),
      Command(118, "speedDoubleBlocks=0 check118=0 popupgrey112=0"),
      Command(64, "sgShown=0 sgStopped=1 sgVisible=0 check64=0"),
      RightClick("popupcheck64=0 popupcheck114=0 popupcheck118=0"),
      SysCommand(64, "sgShown=1 sgStopped=0 sgVisible=1 check64=1 sgClear=*"),
      After(NoViewThreads, Command(65, "vswindowstop=0 vsVisible=1 check65=1 timer4=1000 priorityClass=" IDLE)),
      After(NoViewThreads, SysCommand(65, "vswindowstop=1 vsVisible=0 check65=0")),
      After(NoViewThreads, Command(76, "wavwindowstop=0 wavVisible=1 check76=1 timer4=1000 priorityClass=" IDLE)),
      After(NoViewThreads, SysCommand(76, "wavwindowstop=1 wavVisible=0 check76=0")),
      Command(93, "posted=t"),
      Command(94, "posted=s"),
      Command(92, "posted=p"),
      Command(95, "posted=SC_CLOSE"),
  });
}

}  // namespace
