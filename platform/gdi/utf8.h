// Decoding of the UTF-8 strings that TextOutA receives.
#pragma once

namespace morvex::gdi {

inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// Decodes the code point at `pos` (which must be before `end`) and advances past it. A malformed
// or truncated sequence, an overlong form, a surrogate or a value beyond U+10FFFF gives U+FFFD
// and advances by one byte, so that the following characters still come out.
char32_t NextCodePoint(const char*& pos, const char* end);

}  // namespace morvex::gdi
