#include "resources/icons.h"

#include <array>
#include <string_view>

namespace morvex::resources {
namespace {

using Picture = std::array<std::string_view, kIconSize>;
using Pixels = std::array<uint32_t, kIconSize * kIconSize>;

// The 16-colour palette; each picture character is a hexadecimal index into it.
constexpr uint32_t kPalette[16] = {
    0xFF000000, 0xFF000080, 0xFF008000, 0xFF008080, 0xFF800000, 0xFF800080, 0xFF808000, 0xFFC0C0C0,
    0xFF808080, 0xFF0000FF, 0xFF00FF00, 0xFF00FFFF, 0xFFFF0000, 0xFFFF00FF, 0xFFFFFF00, 0xFFFFFFFF,
};

// Green bars with yellow and red peaks on black, above a grey axis.
constexpr Picture kSpectrum = {
    "88888888888888888888888888888888",
    "80000000000000000000000000000008",
    "80000000000000000000000000000008",
    "800000cc000000000000000000000008",
    "800000cc000000000000000000000008",
    "800000cc0000cc000000000000000008",
    "800000ee0000cc000000000000000008",
    "800cc0ee0000cc000000000000000008",
    "800cc0ee0000ee000000000000000008",
    "800cc0ee0000ee000000000000000008",
    "800ee0ee0cc0ee000000000000000008",
    "800ee0ee0cc0ee000000000000000008",
    "800ee0ee0ee0ee0000cc000000000008",
    "800ee0ee0ee0ee0000cc000000000008",
    "800ee0aa0ee0ee0cc0ee000000000008",
    "800ee0aa0ee0aa0cc0ee000000000008",
    "800aa0aa0ee0aa0ee0ee0000cc000008",
    "800aa0aa0ee0aa0ee0ee0000ee000008",
    "800aa0aa0aa0aa0ee0ee0cc0ee000008",
    "800aa0aa0aa0aa0ee0aa0ee0ee000008",
    "800aa0aa0aa0aa0aa0aa0ee0ee000008",
    "800aa0aa0aa0aa0aa0aa0ee0aa000008",
    "800aa0aa0aa0aa0aa0aa0aa0aa000008",
    "800aa0aa0aa0aa0aa0aa0aa0aa000008",
    "800aa0aa0aa0aa0aa0aa0aa0aa000008",
    "800aa0aa0aa0aa0aa0aa0aa0aa000008",
    "800aa0aa0aa0aa0aa0aa0aa0aa000008",
    "800aa0aa0aa0aa0aa0aa0aa0aa000008",
    "800aa0aa0aa0aa0aa0aa0aa0aa000008",
    "80777777777777777777777777777708",
    "80000000000000000000000000000008",
    "88888888888888888888888888888888",
};

// A cyan decaying oscillation across a dark blue field with its zero line.
constexpr Picture kWaveform = {
    "99999999999999999999999999999999",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "9111bbb1111111111111111111111119",
    "9111b1b1111111111111111111111119",
    "9111b1b1111111111111111111111119",
    "9111b1bb111111111111111111111119",
    "911bb11b111111111111111111111119",
    "911b111b1111111bbb11111111111119",
    "911b111b111111bb1b11111111111119",
    "911b111b111111b11bb1111111bbb119",
    "911b111bb11111b111b111111bb1b119",
    "911b1111b1111bb111bb1111bb11bb19",
    "91bb3333b3333b33333b3333b3333b19",
    "91111111b1111b11111b111bb1111119",
    "91111111b1111b11111bb11b11111119",
    "91111111bb11bb111111b1bb11111119",
    "911111111b11b1111111bbb111111119",
    "911111111b11b1111111111111111119",
    "911111111bbbb1111111111111111119",
    "9111111111bb11111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "91111111111111111111111111111119",
    "99999999999999999999999999999999",
};

constexpr uint32_t PaletteColour(char index) {
  return kPalette[index <= '9' ? index - '0' : index - 'a' + 10];
}

constexpr Pixels Expand(const Picture& picture) {
  Pixels pixels{};
  for (int y = 0; y < kIconSize; ++y) {
    for (int x = 0; x < kIconSize; ++x) pixels[y * kIconSize + x] = PaletteColour(picture[y][x]);
  }
  return pixels;
}

constexpr Pixels kSpectrumPixels = Expand(kSpectrum);
constexpr Pixels kWaveformPixels = Expand(kWaveform);

}  // namespace

const uint32_t* IconPixels(int resource) {
  switch (resource) {
    case 101: return kSpectrumPixels.data();
    case 102: return kWaveformPixels.data();
    default: return nullptr;
  }
}

}  // namespace morvex::resources
