// Checks a screenshot of a desktop on which morvex runs: the main window's client area shows
// its black status text on white, and the FFT window's client area its grid in the grid
// colour. With --peak, prints the column of the FFT curve's highest point instead (the
// topmost black pixel between the readout line and the frequency labels).
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <string>

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

// The column of the topmost black pixel in `area` with its top and bottom 18 rows (the text
// lines) left out; -1 when there is none.
int PeakColumn(const QImage& image, const Area& area) {
  constexpr int kTextRows = 18;
  for (int y = area.y + kTextRows; y < area.y + area.height - kTextRows && y < image.height(); ++y) {
    for (int x = area.x; x < area.x + area.width && x < image.width(); ++x) {
      if ((image.pixel(x, y) & 0xFFFFFF) == 0) return x - area.x;
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::string(argv[1]) == "--peak") {
    const QImage image(argv[2]);
    std::printf("%d\n", PeakColumn(image, Area{std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6])}));
    return image.isNull() ? 1 : 0;
  }
  if (argc != 10) {
    std::fprintf(stderr,
                 "usage: screenshot_check SCREENSHOT.png MAIN_X Y WIDTH HEIGHT FFT_X Y WIDTH HEIGHT\n"
                 "       screenshot_check --peak SCREENSHOT.png FFT_X Y WIDTH HEIGHT\n");
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
