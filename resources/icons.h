// The program's two icons, resources 101 and 102 (chosen by the iconselectinini setting):
// 32 by 32 pixels in the 16 colours of the standard palette. 101 is a spectrum bar graph,
// 102 a decaying waveform.
#pragma once

#include <cstdint>

namespace morvex::resources {

constexpr int kIconSize = 32;

// The icon's pixels as 0xFFRRGGBB, row by row from the top; null for a resource number the
// program does not carry.
const uint32_t* IconPixels(int resource);

}  // namespace morvex::resources
