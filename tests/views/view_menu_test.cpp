// The view popups' value group: one mark, on the item carrying the current value.
#include "views/view_menu.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ValueMenuItem kItems[] = {{66, 200, "200sample"}, {67, 300, "300sample"}, {68, 400, "400sample"}};
constexpr ViewPopupLayout kLayout = {"bar", "group", kItems, 3, 73, "toggle"};

std::vector<UINT> Marked(HMENU popup) {
  std::vector<UINT> ids;
  for (const ValueMenuItem& item : kItems) {
    if (GetMenuState(popup, item.id, MF_BYCOMMAND) & MF_CHECKED) ids.push_back(item.id);
  }
  return ids;
}

TEST(ViewMenu, TheMarkFollowsTheValueAndAnUnknownValueClearsItOnlyWhereAsked) {
  for (const bool clearOnNoMatch : {false, true}) {
    HMENU popup = nullptr;
    HMENU bar = BuildViewPopup(kLayout, &popup);
    UINT marked = 0;
    MoveValueMark(popup, kLayout, 300, clearOnNoMatch, &marked);
    EXPECT_EQ(Marked(popup), std::vector<UINT>{67});
    MoveValueMark(popup, kLayout, 400, clearOnNoMatch, &marked);
    EXPECT_EQ(Marked(popup), std::vector<UINT>{68});
    MoveValueMark(popup, kLayout, 250, clearOnNoMatch, &marked);
    EXPECT_EQ(Marked(popup), clearOnNoMatch ? std::vector<UINT>{} : std::vector<UINT>{68}) << clearOnNoMatch;
    MoveValueMark(popup, kLayout, 200, clearOnNoMatch, &marked);
    EXPECT_EQ(Marked(popup), std::vector<UINT>{66});
    DestroyMenu(bar);
  }
}

}  // namespace
