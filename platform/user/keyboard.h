// Key data of WM_KEYDOWN as the display posts it: Windows' 32-bit key data in the low half of
// lParam, and the character the key produces (what TranslateMessage turns into WM_CHAR) in the
// high half, which a 32-bit program never sees.
#pragma once

#include "platform/win32/types.h"

namespace morvex::user {

inline LPARAM KeyDownData(uint32_t character) {
  return static_cast<LPARAM>((static_cast<uint64_t>(character) << 32) | 1u);
}

inline uint32_t TranslatedCharacter(LPARAM keyData) {
  return static_cast<uint32_t>(static_cast<uint64_t>(keyData) >> 32);
}

inline LPARAM KeyDataWithoutCharacter(LPARAM keyData) {
  return static_cast<LPARAM>(static_cast<uint64_t>(keyData) & 0xFFFFFFFFu);
}

}  // namespace morvex::user
