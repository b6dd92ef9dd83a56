// The README's menu tables and the menus the program builds name the same labels: every label of
// every window's menu (submenu titles included) is in a table, and every label a table names is
// one the program shows.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "analysis/fft_window_menu.h"
#include "main_window_rig.h"
#include "spectrogram/sg_window.h"
#include "views/waveform_window.h"

namespace {

// Each item's label and each submenu's title, down through the submenus.
void CollectLabels(HMENU menu, std::set<std::string>* labels) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char label[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), label, sizeof label, MF_BYPOSITION);
    if (label[0] != '\0') labels->insert(label);
    if (const HMENU submenu = GetSubMenu(menu, i)) CollectLabels(submenu, labels);
  }
}

// The README's section on the windows and their menus.
std::string MenuSection() {
  std::ifstream file(MORVEX_README);
  const std::string readme{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  const size_t start = readme.find("\n## Windows and menus\n");
  if (start == std::string::npos) return {};
  return readme.substr(start, readme.find("\n## ", start + 1) - start);
}

// The quoted labels in the first column of the section's tables.
std::set<std::string> DocumentedLabels(const std::string& section) {
  std::set<std::string> labels;
  const std::regex quoted("\"([^\"]+)\"");
  std::istringstream lines(section);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind("| \"", 0) != 0) continue;
    const std::string firstColumn = line.substr(0, line.find(" | ", 1));
    for (std::sregex_iterator match(firstColumn.begin(), firstColumn.end(), quoted), end; match != end; ++match) {
      labels.insert((*match)[1]);
    }
  }
  return labels;
}

class MenuLabelsDocumentedTest : public main_window_rig::MainWindowRig {};

TEST_F(MenuLabelsDocumentedTest, EveryLabelOfEveryMenuIsInTheReadmeAndTheReadmeNamesNoOther) {
  Settings.vswindowstop = Settings.wavwindowstop = 0;
  Start(main_window_rig::Pattern(400000), test_support::FmtFields{});  // two channels: every view
  std::set<std::string> shown;
  for (const HMENU menu : {MainPopup, DebugMenu, FftPopup, SgPopupMenu(), VectorscopeView.popup, WaveformView.popup}) {
    ASSERT_NE(menu, nullptr);
    CollectLabels(menu, &shown);
  }
  const std::string section = MenuSection();
  ASSERT_FALSE(section.empty()) << "the README has no section \"Windows and menus\"";
  const std::set<std::string> documented = DocumentedLabels(section);
  EXPECT_NE(section.find("\"menu for debug\""), std::string::npos);
  for (const std::string& label : shown) {
    EXPECT_TRUE(documented.count(label)) << "not in the README's tables: \"" << label << '"';
  }
  for (const std::string& label : documented) {
    EXPECT_TRUE(shown.count(label)) << "in the README but in no menu: \"" << label << '"';
  }
}

}  // namespace
