// Checks a screenshot of a desktop on which morvex runs: the main window's client area shows
// its black status text on white, and the FFT window's client area its grid in the grid
// colour.
#include <QImage>
#include <cstdio>
#include <cstdlib>

namespace {

struct Area {
  int x, y, width, height;
};

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
  if (argc != 10) {
    std::fprintf(stderr, "usage: screenshot_check SCREENSHOT.png MAIN_X Y WIDTH HEIGHT FFT_X Y WIDTH HEIGHT\n");
    return 2;
  }
  auto area = [&](int first) {
    return Area{std::atoi(argv[first]), std::atoi(argv[first + 1]), std::atoi(argv[first + 2]), std::atoi(argv[first + 3])};
  };
  const Area mainClient = area(2);
  const Area fftClient = area(6);
  const QImage image(argv[1]);
  if (image.isNull()) {
    std::fprintf(stderr, "cannot read %s\n", argv[1]);
    return 1;
  }
  const int mainPixels = mainClient.width * mainClient.height;
  const int white = Count(image, mainClient, qRgb(255, 255, 255));
  const int black = Count(image, mainClient, qRgb(0, 0, 0));
  const int grid = Count(image, fftClient, qRgb(191, 191, 255));
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
