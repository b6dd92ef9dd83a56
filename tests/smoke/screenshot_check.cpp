// Checks a screenshot of a desktop on which morvex ran with its default settings: the main
// window's client area shows its black status text on white, and the FFT window shows its
// grid in the grid colour.
#include <QImage>
#include <cstdio>

namespace {

struct Area {
  int x, y, width, height;
};

// Where the windows' client areas lie with the default settings and no window manager:
// the outer rectangle from the settings, inside a frame of 8, 31, 8, 8 pixels.
constexpr Area kMainClient{290 + 8, 160 + 31, 600 - 16, 400 - 39};
constexpr Area kFftClient{0 + 8, 340 + 31, 280 - 16, 215 - 39};

int Count(const QImage& image, const Area& area, QRgb colour) {
  int count = 0;
  for (int y = area.y; y < area.y + area.height && y < image.height(); ++y) {
    for (int x = area.x; x < area.x + area.width && x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) ++count;
    }
  }
  return count;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screenshot_check SCREENSHOT.png\n");
    return 2;
  }
  const QImage image(argv[1]);
  if (image.isNull()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const int mainPixels = kMainClient.width * kMainClient.height;
  const int white = Count(image, kMainClient, qRgb(255, 255, 255));
  const int black = Count(image, kMainClient, qRgb(0, 0, 0));
  const int grid = Count(image, kFftClient, qRgb(191, 191, 255));
  std::printf("main window: %d white, %d black of %d pixels; fft window: %d grid pixels\n", white, black,
              mainPixels, grid);
  bool ok = true;
  if (white < mainPixels / 2 || black < 200) {
    std::fprintf(stderr, "the main window does not show its status text\n");
    ok = false;
  }
  if (grid < 100) {
    std::fprintf(stderr, "the FFT window does not show its grid\n");
    ok = false;
  }
  return ok ? 0 : 1;
}
