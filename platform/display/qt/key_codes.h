// Keyboard input as the window layer expects it: Windows virtual-key codes and the character
// a key press produces.
#pragma once

#include <QString>
#include <Qt>
#include <cstdint>

namespace morvex::display::qt {

// The virtual-key code of a Qt key (letters, digits, keypad, function, editing and modifier
// keys, US-layout punctuation); 0 for a key Windows has no code for.
unsigned VirtualKeyOf(int qtKey, Qt::KeyboardModifiers modifiers);

// The first code point of a key event's text, 0 when the key produces none.
uint32_t CharacterOf(const QString& text);

}  // namespace morvex::display::qt
