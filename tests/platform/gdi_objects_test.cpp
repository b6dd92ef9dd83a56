#include <gtest/gtest.h>

#include "tests/platform/gdi_test_canvas.h"

namespace morvex::gdi::test {
namespace {

TEST(GdiObjectsTest, SelectObjectSwapsObjectsOfOneKindAndRefusesDeadOrForeignHandles) {
  Canvas canvas(4, 4);
  const HDC dc = canvas.dc();
  EXPECT_EQ(SelectObject(dc, GetStockObject(WHITE_PEN)), GetStockObject(BLACK_PEN));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_BRUSH)), GetStockObject(WHITE_BRUSH));
  EXPECT_EQ(SelectObject(dc, GetStockObject(BLACK_PEN)), GetStockObject(WHITE_PEN));
  EXPECT_EQ(GetStockObject(9), nullptr);
  EXPECT_EQ(SelectObject(dc, nullptr), nullptr);
  // Deleted and foreign handles are refused; stock objects survive deletion.
  HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
  EXPECT_TRUE(DeleteObject(brush));
  EXPECT_FALSE(DeleteObject(brush));
  EXPECT_EQ(SelectObject(canvas.dc(), brush), nullptr);
  int notAnObject = 0;
  EXPECT_FALSE(DeleteObject(&notAnObject));
  EXPECT_EQ(SelectObject(canvas.dc(), &notAnObject), nullptr);
  EXPECT_FALSE(DeleteObject(nullptr));
  EXPECT_TRUE(DeleteObject(GetStockObject(BLACK_BRUSH)));
  SelectObject(canvas.dc(), GetStockObject(BLACK_BRUSH));
  Rectangle(canvas.dc(), -1, -1, 3, 3);
  EXPECT_EQ(canvas.at(0, 0), kBlack);
}

TEST(GdiObjectsTest, ASelectedObjectDeletedEarlyStaysUsableUntilDeselected) {
  Canvas canvas(4, 1);
  HBRUSH brush = CreateSolidBrush(RGB(0, 255, 0));
  HGDIOBJ old = SelectObject(canvas.dc(), brush);
  EXPECT_TRUE(DeleteObject(brush));
  Rectangle(canvas.dc(), -1, -1, 5, 2);
  EXPECT_EQ(canvas.at(3, 0), 0xFF00FF00u);
  EXPECT_EQ(SelectObject(canvas.dc(), old), static_cast<HGDIOBJ>(brush));
}

TEST(GdiObjectsTest, MemoryContextDrawsIntoItsSelectedBitmap) {
  Canvas window(6, 4, kWhite);
  HDC memory = CreateCompatibleDC(window.dc());
  ASSERT_NE(memory, nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(window.dc(), 6, 4);
  HGDIOBJ original = SelectObject(memory, bitmap);
  ASSERT_NE(original, nullptr);
  EXPECT_NE(original, static_cast<HGDIOBJ>(bitmap));
  EXPECT_EQ(SelectObject(window.dc(), bitmap), nullptr) << "a window context keeps its window";

  // A new bitmap is black.
  BitBlt(window.dc(), 0, 0, 6, 4, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(window.pointsOf(kBlack).size(), 24u);

  SetPixel(memory, 2, 1, RGB(255, 0, 0));
  BitBlt(window.dc(), 0, 0, 6, 4, memory, 0, 0, SRCCOPY);
  EXPECT_EQ(window.at(2, 1), 0xFFFF0000u);

  EXPECT_EQ(SelectObject(memory, original), static_cast<HGDIOBJ>(bitmap));
  EXPECT_TRUE(DeleteObject(bitmap));

  // Deleting the selected bitmap leaves the context drawing safely into it.
  bitmap = CreateCompatibleBitmap(nullptr, 8, 8);
  SelectObject(memory, bitmap);
  EXPECT_TRUE(DeleteObject(bitmap));
  EXPECT_TRUE(Rectangle(memory, 0, 0, 8, 8));
  EXPECT_EQ(GetPixel(memory, 0, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(memory, 3, 3), RGB(255, 255, 255));
  EXPECT_TRUE(DeleteDC(memory));
}

TEST(GdiObjectsTest, EmptyAndNegativeBitmapsTakeNoDrawing) {
  Canvas window(4, 4, kWhite);
  for (const auto& [w, h] : {std::pair{0, 0}, {0, 5}, {5, 0}, {-5, 3}, {-1, -1}}) {
    HDC memory = CreateCompatibleDC(window.dc());
    HBITMAP bitmap = CreateCompatibleBitmap(window.dc(), w, h);
    ASSERT_NE(bitmap, nullptr);
    SelectObject(memory, bitmap);
    EXPECT_EQ(SetPixel(memory, 0, 0, RGB(0, 0, 0)), CLR_INVALID);
    Rectangle(memory, -1, -1, 10, 10);
    MoveToEx(memory, 0, 0, nullptr);
    LineTo(memory, 10, 10);
    TextOutA(memory, 0, 0, "x", 1);
    BitBlt(window.dc(), 0, 0, 4, 4, memory, 0, 0, SRCCOPY);
    BitBlt(memory, 0, 0, 4, 4, window.dc(), 0, 0, SRCCOPY);
    DeleteDC(memory);
    DeleteObject(bitmap);
  }
  EXPECT_EQ(window.pointsOf(kWhite).size(), 16u);
  EXPECT_EQ(CreateCompatibleBitmap(nullptr, 1 << 20, 1 << 20), nullptr);
}

}  // namespace
}  // namespace morvex::gdi::test
