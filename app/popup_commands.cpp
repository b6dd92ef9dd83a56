#include "app/popup_commands.h"

#include <algorithm>
#include <iterator>

#include "analysis/fft_graph_flags.h"
#include "app/debug_reports.h"
#include "app/flag_toggle.h"
#include "app/menu_state.h"
#include "app/repaint_commands.h"
#include "audio/playback.h"
#include "shared/settings.h"
#include "shared/shortcut_marker.h"

namespace {

struct KeyCommand {
  UINT id;
  char key;
};
// Posted as characters with the shortcut marker, so they act whether or not shortcuts are on.
constexpr KeyCommand kKeyCommands[] = {{92, 'p'}, {93, 't'}, {94, 's'}, {120, '2'}};

constexpr UINT kPassedOn[] = {85, 86, 107, 108, 112, 114, 118, 64, 65, 76, 113};

struct ValueCommand {
  UINT id;
  int32_t value;
};
constexpr ValueCommand kRates[] = {{139, 8000},  {140, 11025}, {142, 16000}, {143, 22050},
                                   {145, 32000}, {146, 44100}, {147, 48000}};
constexpr ValueCommand kLevelMeterTypes[] = {{133, 0}, {134, 1}, {135, 2}, {136, 3}, {149, 4}, {150, 5}};

constexpr UINT kSlowRepaint = 116;
constexpr UINT kWithoutSavingPlaces = 123;
constexpr UINT kExit = 95;
constexpr UINT kLevelAxis = 165;

template <typename Table>
auto Find(const Table& table, UINT id) {
  return std::find_if(std::begin(table), std::end(table), [id](const auto& entry) { return entry.id == id; });
}

}  // namespace

bool OnPopupCommand(HWND mainWindow, UINT id) {
  if (const auto key = Find(kKeyCommands, id); key != std::end(kKeyCommands)) {
    PostMessageA(mainWindow, WM_CHAR, key->key, ShortcutMarker);
  } else if (std::find(std::begin(kPassedOn), std::end(kPassedOn), id) != std::end(kPassedOn)) {
    SendMessageA(mainWindow, WM_SYSCOMMAND, id, 0);
  } else if (const auto rate = Find(kRates, id); rate != std::end(kRates)) {
    Settings.playfreqoptional = rate->value;  // from the next playback start on
  } else if (const auto type = Find(kLevelMeterTypes, id); type != std::end(kLevelMeterTypes)) {
    Settings.levelmetertype = type->value;
  } else if (id == kSlowRepaint) {
    ToggleSlowRepaint(mainWindow);
  } else if (id == kWithoutSavingPlaces) {
    Toggle(Settings.withoutsavewindowsetting);
  } else if (id == kExit) {
    PostMessageA(mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
  } else if (id == kLevelAxis) {
    SelectFftLevelAxis(Settings);
  } else {
    return OnDebugReportCommand(id);
  }
  return true;
}
