// Saves a picture of the screen, or of one rectangle of it, as a PNG file: how the run script
// shows a run that had no desktop of its own (inside a virtual X server), and how the window
// pictures of the documentation are cut out of the screen. A rectangle is saved with a palette
// of at most 256 colours, which keeps those pictures small.
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 2 && argc != 6) {
    std::fprintf(stderr, "usage: screenshot OUTPUT.png [X Y WIDTH HEIGHT]\n");
    return 2;
  }
  // Qt sees only the program name: the output path and the rectangle are not its options.
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  // -1 for the width and height: the whole screen.
  int rectangle[4] = {0, 0, -1, -1};
  if (argc == 6) {
    for (int i = 0; i < 4; ++i) rectangle[i] = std::atoi(argv[2 + i]);
  }
  const QPixmap picture =
      screen ? screen->grabWindow(0, rectangle[0], rectangle[1], rectangle[2], rectangle[3]) : QPixmap();
  if (picture.isNull()) {
    std::fprintf(stderr, "screenshot: the screen cannot be read\n");
    return 1;
  }
  QImage image = picture.toImage();
  if (argc == 6) image = image.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::AvoidDither);
  if (!image.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
