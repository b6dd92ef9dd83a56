#include <gtest/gtest.h>

#include "platform/display/qt/key_codes.h"

namespace morvex::display::qt {
namespace {

// Letters and digits are their upper-case characters, punctuation takes the US layout's codes,
// keys without a code have none; the character is the text's first code point.
TEST(QtKeyCodesTest, KeysMapToTheirVirtualKeyCodesAndCharacters) {
  const struct { Qt::Key key; Qt::KeyboardModifiers modifiers; unsigned code; } cases[] = {
      {Qt::Key_Z, Qt::ShiftModifier, 'Z'},       {Qt::Key_9, Qt::NoModifier, '9'},
      {Qt::Key_0, Qt::KeypadModifier, 0x60},     {Qt::Key_7, Qt::KeypadModifier, 0x67},
      {Qt::Key_Minus, Qt::KeypadModifier, 0x6D}, {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
      {Qt::Key_F12, Qt::NoModifier, 0x7B},       {Qt::Key_Delete, Qt::NoModifier, 0x2E},
      {Qt::Key_Escape, Qt::NoModifier, 0x1B},    {Qt::Key_Return, Qt::NoModifier, 0x0D},
      {Qt::Key_Space, Qt::NoModifier, 0x20},     {Qt::Key_Left, Qt::NoModifier, 0x25},
      {Qt::Key_Shift, Qt::ShiftModifier, 0x10},  {Qt::Key_Menu, Qt::NoModifier, 0x5D},  // the system menu
      {Qt::Key_Period, Qt::NoModifier, 0xBE},    {Qt::Key_BracketLeft, Qt::NoModifier, 0xDB},
      {Qt::Key_Exclam, Qt::ShiftModifier, 0},    {Qt::Key_unknown, Qt::NoModifier, 0},
  };
  for (const auto& c : cases) EXPECT_EQ(VirtualKeyOf(c.key, c.modifiers), c.code) << std::hex << c.key;
  EXPECT_EQ(CharacterOf(QStringLiteral("\r")), '\r');
  EXPECT_EQ(CharacterOf(QString::fromUtf8("あい")), 0x3042u);
  EXPECT_EQ(CharacterOf(QString::fromUtf8("😀")), 0x1F600u);  // a surrogate pair in Qt's text
  EXPECT_EQ(CharacterOf(QString()), 0u);
}

}  // namespace
}  // namespace morvex::display::qt
