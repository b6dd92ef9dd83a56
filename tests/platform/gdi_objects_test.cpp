#include <gtest/gtest.h>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

// Objects of one kind swap; dead and foreign handles are refused; stock objects survive
// deletion; a selected object deleted early stays usable until deselected.
TEST(GdiObjectsTest, SelectionSwapsObjectsAndRefusesDeadOrForeignHandles) {
  Canvas canvas(4, 4);
  const HDC dc = canvas.dc();
  EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_PEN)), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(WHITE_PEN));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  HBRUSH dead = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(dead));
  EXPECT_FALSE(DeleteObject(dead));
  EXPECT_EQ(SelectObject(dc, dead), nullptr);
  int notAnObject = 0;
  EXPECT_FALSE(DeleteObject(&notAnObject));
  EXPECT_EQ(SelectObject(dc, &notAnObject), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
  Rectangle(dc, -1, -1, 3, 3);
  EXPECT_EQ(canvas.at(0, 0), kBlack);

  HBRUSH green = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ old = SelectObject(dc, green);
  EXPECT_TRUE(DeleteObject(green));
  Rectangle(dc, -1, -1, 5, 5);
  EXPECT_EQ(canvas.at(3, 3), 0xFF00FF00u);
  EXPECT_EQ(SelectObject(dc, old), static_cast<HGDIOBJ>(green));
}

// The off-screen path: a memory context draws into its selected bitmap (new ones are black),
// also after the bitmap was deleted; a window context keeps its window; empty bitmaps take nothing.
TEST(GdiObjectsTest, MemoryContextDrawsIntoItsSelectedBitmap) {
  Canvas window(6, 4, kWhite);
  HDC memory = CreateCompatibleDC(window.dc());
  ASSERT_NE(memory, nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(window.dc(), 6, 4);
  HGDIOBJ original = SelectObject(memory, bitmap);
  ASSERT_NE(original, nullptr);
  EXPECT_NE(original, static_cast<HGDIOBJ>(bitmap));
  EXPECT_EQ(SelectObject(window.dc(), bitmap), nullptr);
  SetPixel(memory, 2, 1, RGB(255, 0, 0));
  BitBlt(window.dc(), 0, 0, 6, 4, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(window.at(2, 1), 0xFFFF0000u);
  EXPECT_EQ(window.pointsOf(kBlack).size(), 23u);
  EXPECT_EQ(SelectObject(memory, original), static_cast<HGDIOBJ>(bitmap));
  EXPECT_TRUE(DeleteObject(bitmap));

  bitmap = CreateCompatibleBitmap(nullptr, 8, 8);
  SelectObject(memory, bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(Rectangle(memory, 0, 0, 8, 8));
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(memory, 3, 3), RGB(255, 255, 255));
  EXPECT_TRUE(DeleteDC(memory));

  Canvas untouched(4, 4, kWhite);
  for (const auto& [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}, {-5, 3}, {-1, -1}}) {
    memory = CreateCompatibleDC(untouched.dc());
    bitmap = CreateCompatibleBitmap(untouched.dc(), w, h);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(memory, bitmap);
    EXPECT_EQ(SetPixel(memory, 0, 0, RGB(0, 0, 0)), CLR_INVALID);
    Rectangle(memory, -1, -1, 10, 10);
    MoveToEx(memory, 0, 0, nullptr);
    LineTo(memory, 10, 10);
    TextOutA(memory, 0, 0, "x", 1);
    BitBlt(untouched.dc(), 0, 0, 4, 4, memory, 0, 0, SRCCOPY);
    BitBlt(memory, 0, 0, 4, 4, untouched.dc(), 0, 0, SRCCOPY);
    DeleteDC(memory);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(untouched.pointsOf(kWhite).size(), 16u);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 1 << 20, 1 << 20), nullptr);
}

}  // namespace
}  // namespace morvex::gdi::test
