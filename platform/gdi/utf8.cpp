#include "platform/gdi/utf8.h"

namespace morvex::gdi {

char32_t NextCodePoint(const char*& pos, const char* end) {
  const auto lead = static_cast<unsigned char>(*pos);
  int continuation = 0;
  char32_t value = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    ++pos;
    return lead;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    continuation = 1;
    value = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuation = 2;
    value = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuation = 3;
    value = lead & 0x07;
    minimum = 0x10000;
  } else {
    ++pos;
    return kReplacementCharacter;
  }
  if (end - pos <= continuation) {
    ++pos;
    return kReplacementCharacter;
  }
  for (int i = 1; i <= continuation; ++i) {
    const auto next = static_cast<unsigned char>(pos[i]);
    if ((next & 0xC0) != 0x80) {
      ++pos;
      return kReplacementCharacter;
    }
    value = (value << 6) | (next & 0x3F);
  }
  if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
    ++pos;
    return kReplacementCharacter;
  }
  pos += continuation + 1;
  return value;
}

}  // namespace morvex::gdi
