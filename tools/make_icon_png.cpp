// Writes the program's icon 101 (the one its main window shows) as a PNG of the given size, for
// the desktop's icon theme. Whole multiples keep the 32-pixel picture's hard edges; other sizes
// are smoothed.
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "resources/icons.h"

int main(int argc, char** argv) {
  const int size = argc == 3 ? std::atoi(argv[1]) : 0;
  if (size <= 0) {
    std::fprintf(stderr, "usage: make_icon_png SIZE OUTPUT.png\n");
    return 2;
  }
  using morvex::resources::kIconSize;
  const QImage picture(reinterpret_cast<const uchar*>(morvex::resources::IconPixels(101)), kIconSize, kIconSize,
                       QImage::Format_ARGB32);
  const Qt::TransformationMode mode =
      size % kIconSize == 0 ? Qt::FastTransformation : Qt::SmoothTransformation;
  if (!picture.scaled(size, size, Qt::IgnoreAspectRatio, mode).save(argv[2], "PNG")) {
    std::fprintf(stderr, "make_icon_png: cannot write %s\n", argv[2]);
    return 1;
  }
  return 0;
}
