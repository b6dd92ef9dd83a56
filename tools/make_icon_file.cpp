// Writes one of the program's icons (101 or 102) as a Windows icon file: one 32 by 32 image in
// 16 colours, made from the same pictures the program draws on Linux. The Windows build compiles
// the files into its icon resources.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "resources/icons.h"

namespace {

using morvex::resources::kIconSize;

constexpr int kColours = 16;
constexpr int kColourRowBytes = kIconSize / 2;  // two 4-bit pixels per byte
constexpr int kMaskRowBytes = kIconSize / 8;    // one bit per pixel; rows are whole 32-bit words
constexpr uint32_t kHeaderBytes = 40;
constexpr uint32_t kImageBytes =
    kHeaderBytes + 4 * kColours + kIconSize * kColourRowBytes + kIconSize * kMaskRowBytes;

void Put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// The picture's colours in order of first appearance, at most 16; false when it has more.
bool BuildPalette(const uint32_t* pixels, std::vector<uint32_t>& palette) {
  for (int i = 0; i < kIconSize * kIconSize; ++i) {
    const uint32_t rgb = pixels[i] & 0xFFFFFF;
    bool known = false;
    for (uint32_t colour : palette) known = known || colour == rgb;
    if (known) continue;
    if (palette.size() == kColours) return false;
    palette.push_back(rgb);
  }
  palette.resize(kColours, 0);
  return true;
}

int PaletteIndex(const std::vector<uint32_t>& palette, uint32_t pixel) {
  int index = 0;
  while (palette[index] != (pixel & 0xFFFFFF)) ++index;
  return index;
}

std::vector<uint8_t> IconFile(const uint32_t* pixels, const std::vector<uint32_t>& palette) {
  std::vector<uint8_t> out;
  // The directory: reserved, type 1 (icon), one image; then the image's entry.
  Put(out, 0, 2);
  Put(out, 1, 2);
  Put(out, 1, 2);
  Put(out, kIconSize, 1);
  Put(out, kIconSize, 1);
  Put(out, kColours, 1);
  Put(out, 0, 1);
  Put(out, 1, 2);  // planes
  Put(out, 4, 2);  // bits per pixel
  Put(out, kImageBytes, 4);
  Put(out, static_cast<uint32_t>(out.size() + 4), 4);  // the image follows this field
  // The image: a bitmap header whose height counts the colour rows and the mask rows.
  Put(out, kHeaderBytes, 4);
  Put(out, kIconSize, 4);
  Put(out, 2 * kIconSize, 4);
  Put(out, 1, 2);
  Put(out, 4, 2);
  for (int field = 0; field < 6; ++field) Put(out, 0, 4);  // uncompressed, sizes and counts implied
  for (uint32_t rgb : palette) Put(out, ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | (rgb >> 16), 4);  // B G R 0
  // Colour rows bottom-up, the left pixel in the high nibble; then an all-opaque mask.
  for (int y = kIconSize - 1; y >= 0; --y) {
    for (int x = 0; x < kIconSize; x += 2) {
      const uint32_t* row = pixels + y * kIconSize;
      Put(out, static_cast<uint32_t>(PaletteIndex(palette, row[x]) << 4 | PaletteIndex(palette, row[x + 1])), 1);
    }
  }
  for (int i = 0; i < kIconSize * kMaskRowBytes; ++i) Put(out, 0, 1);
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_icon_file RESOURCE OUTPUT.ico\n");
    return 2;
  }
  const int resource = std::atoi(argv[1]);
  const uint32_t* pixels = morvex::resources::IconPixels(resource);
  if (pixels == nullptr) {
    std::fprintf(stderr, "make_icon_file: the program carries no icon %s\n", argv[1]);
    return 2;
  }
  std::vector<uint32_t> palette;
  if (!BuildPalette(pixels, palette)) {
    std::fprintf(stderr, "make_icon_file: icon %d has more than %d colours\n", resource, kColours);
    return 1;
  }
  const std::vector<uint8_t> bytes = IconFile(pixels, palette);
  FILE* file = std::fopen(argv[2], "wb");
  if (file == nullptr) {
    std::perror(argv[2]);
    return 1;
  }
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  if (std::fclose(file) != 0 || !written) {
    std::fprintf(stderr, "make_icon_file: could not write %s\n", argv[2]);
    std::remove(argv[2]);
    return 1;
  }
  return 0;
}
