#include <gtest/gtest.h>

#include "platform/display/qt/key_codes.h"

namespace morvex::display::qt {
namespace {

TEST(QtKeyCodesTest, LettersAndDigitsAreTheirUpperCaseCharacters) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_A, Qt::NoModifier), 'A');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Z, Qt::ShiftModifier), 'Z');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_0, Qt::NoModifier), '0');
  EXPECT_EQ(VirtualKeyOf(Qt::Key_9, Qt::NoModifier), '9');
}

TEST(QtKeyCodesTest, KeypadFunctionEditingAndModifierKeys) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_0, Qt::KeypadModifier), 0x60u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_7, Qt::KeypadModifier), 0x67u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus, Qt::KeypadModifier), 0x6Du);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Enter, Qt::KeypadModifier), 0x0Du);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F1, Qt::NoModifier), 0x70u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_F12, Qt::NoModifier), 0x7Bu);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Escape, Qt::NoModifier), 0x1Bu);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Return, Qt::NoModifier), 0x0Du);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Space, Qt::NoModifier), 0x20u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Left, Qt::NoModifier), 0x25u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Down, Qt::NoModifier), 0x28u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Delete, Qt::NoModifier), 0x2Eu);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Shift, Qt::ShiftModifier), 0x10u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Menu, Qt::NoModifier), 0x5Du);  // opens the system menu
}

TEST(QtKeyCodesTest, PunctuationUsesTheUsLayoutCodesAndUnknownKeysHaveNone) {
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Minus, Qt::NoModifier), 0xBDu);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Period, Qt::NoModifier), 0xBEu);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_BracketLeft, Qt::NoModifier), 0xDBu);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_Exclam, Qt::ShiftModifier), 0u);
  EXPECT_EQ(VirtualKeyOf(Qt::Key_unknown, Qt::NoModifier), 0u);
}

TEST(QtKeyCodesTest, CharacterIsTheFirstCodePointOfTheText) {
  EXPECT_EQ(CharacterOf(QStringLiteral("a")), 'a');
  EXPECT_EQ(CharacterOf(QStringLiteral("\r")), '\r');
  EXPECT_EQ(CharacterOf(QString::fromUtf8("あい")), 0x3042u);
  EXPECT_EQ(CharacterOf(QString::fromUtf8("😀")), 0x1F600u);  // a surrogate pair in Qt's text
  EXPECT_EQ(CharacterOf(QString()), 0u);
}

}  // namespace
}  // namespace morvex::display::qt
