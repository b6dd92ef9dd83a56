#include "platform/display/qt/key_codes.h"

#include <iterator>

namespace morvex::display::qt {
namespace {

struct KeyCode {
  int qtKey;
  unsigned virtualKey;
};

// Keys whose virtual-key code is not their character.
constexpr KeyCode kNamedKeys[] = {
    {Qt::Key_Backspace, 0x08}, {Qt::Key_Tab, 0x09},       {Qt::Key_Backtab, 0x09},
    {Qt::Key_Return, 0x0D},    {Qt::Key_Enter, 0x0D},     {Qt::Key_Shift, 0x10},
    {Qt::Key_Control, 0x11},   {Qt::Key_Alt, 0x12},       {Qt::Key_AltGr, 0x12},
    {Qt::Key_Pause, 0x13},     {Qt::Key_CapsLock, 0x14},  {Qt::Key_Escape, 0x1B},
    {Qt::Key_Space, 0x20},     {Qt::Key_PageUp, 0x21},    {Qt::Key_PageDown, 0x22},
    {Qt::Key_End, 0x23},       {Qt::Key_Home, 0x24},      {Qt::Key_Left, 0x25},
    {Qt::Key_Up, 0x26},        {Qt::Key_Right, 0x27},     {Qt::Key_Down, 0x28},
    {Qt::Key_Print, 0x2C},     {Qt::Key_Insert, 0x2D},    {Qt::Key_Delete, 0x2E},
    {Qt::Key_Meta, 0x5B},      {Qt::Key_Menu, 0x5D},      {Qt::Key_NumLock, 0x90},
    {Qt::Key_ScrollLock, 0x91}, {Qt::Key_Semicolon, 0xBA}, {Qt::Key_Equal, 0xBB},
    {Qt::Key_Comma, 0xBC},     {Qt::Key_Minus, 0xBD},     {Qt::Key_Period, 0xBE},
    {Qt::Key_Slash, 0xBF},     {Qt::Key_QuoteLeft, 0xC0}, {Qt::Key_BracketLeft, 0xDB},
    {Qt::Key_Backslash, 0xDC}, {Qt::Key_BracketRight, 0xDD}, {Qt::Key_Apostrophe, 0xDE},
};

// The keypad's own keys (with the keypad modifier): digits 0x60..0x69 and the operators.
constexpr KeyCode kKeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Comma, 0x6E}, {Qt::Key_Slash, 0x6F},
};

unsigned Lookup(const KeyCode* begin, const KeyCode* end, int qtKey) {
  for (const KeyCode* key = begin; key != end; ++key) {
    if (key->qtKey == qtKey) return key->virtualKey;
  }
  return 0;
}

}  // namespace

unsigned VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::KeypadModifier) {
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return 0x60 + static_cast<unsigned>(qtKey - Qt::Key_0);
    if (const unsigned code = Lookup(std::begin(kKeypadKeys), std::end(kKeypadKeys), qtKey)) return code;
  }
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return 'A' + static_cast<unsigned>(qtKey - Qt::Key_A);
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return '0' + static_cast<unsigned>(qtKey - Qt::Key_0);
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return 0x70 + static_cast<unsigned>(qtKey - Qt::Key_F1);
  return Lookup(std::begin(kNamedKeys), std::end(kNamedKeys), qtKey);
}

uint32_t CharacterOf(const QString& text) {
  if (text.isEmpty()) return 0;
  const QChar first = text.at(0);
  if (first.isHighSurrogate() && text.size() > 1 && text.at(1).isLowSurrogate()) {
    return QChar::surrogateToUcs4(first, text.at(1));
  }
  return first.unicode();
}

}  // namespace morvex::display::qt
