// The Windows build's icon files, made by tools/make_icon_file, read back as Windows reads
// them: one 32 by 32 image in 16 colours whose pixels are the pictures the Linux build draws.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <tuple>

#include "resources/icons.h"
#include "support/temp_dir.h"

namespace {

using morvex::resources::kIconSize;

uint32_t Le(const std::string& bytes, size_t at, int count) {
  uint32_t value = 0;
  for (int i = count - 1; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes.at(at + i));
  return value;
}

TEST(IconFile, EachIconReadsBackAsItsPicture) {
  test_support::TempDir dir;
  const std::string path = (dir.path() / "icon.ico").string();
  for (int resource : {101, 102}) {
    SCOPED_TRACE(resource);
    ASSERT_EQ(std::system((std::string(MORVEX_ICON_TOOL) + " " + std::to_string(resource) + " " + path).c_str()), 0);
    const std::string ico = test_support::ReadFileBytes(path);
    // An icon directory with one 32x32, 16-colour image, whose bitmap header counts colour and
    // mask rows in its height; 4 bits, uncompressed.
    const uint32_t offset = Le(ico, 18, 4);
    for (const auto& [at, bytes, value] : {std::tuple<size_t, int, uint32_t>{0, 2, 0}, {2, 2, 1}, {4, 2, 1},
                                           {6, 2, 32 | 32 << 8}, {8, 1, 16}, {12, 2, 4}, {offset, 4, 40},
                                           {offset + 4, 4, 32}, {offset + 8, 4, 64}, {offset + 14, 2, 4},
                                           {offset + 16, 4, 0}}) {
      EXPECT_EQ(Le(ico, at, bytes), value) << "byte " << at;
    }
    const size_t palette = offset + 40, colourRows = palette + 16 * 4, maskRows = colourRows + kIconSize * kIconSize / 2;
    ASSERT_EQ(offset + Le(ico, 14, 4), ico.size());
    ASSERT_EQ(maskRows + kIconSize * 4, ico.size());
    // Colour rows bottom-up, left pixel in the high nibble, palette entries as B G R 0.
    const uint32_t* pixels = morvex::resources::IconPixels(resource);
    int mismatches = 0;
    for (int y = 0; y < kIconSize; ++y) {
      for (int x = 0; x < kIconSize; ++x) {
        const uint8_t pair = static_cast<uint8_t>(ico[colourRows + (kIconSize - 1 - y) * kIconSize / 2 + x / 2]);
        const uint32_t bgr0 = Le(ico, palette + 4 * (x % 2 == 0 ? pair >> 4 : pair & 0xF), 4);
        const uint32_t rgb = (bgr0 & 0xFF) << 16 | (bgr0 & 0xFF00) | (bgr0 >> 16 & 0xFF);
        mismatches += bgr0 >> 24 != 0 || rgb != (pixels[y * kIconSize + x] & 0xFFFFFF);
      }
    }
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(ico.find_first_not_of('\0', maskRows), std::string::npos) << "every pixel opaque";
  }
}

}  // namespace
