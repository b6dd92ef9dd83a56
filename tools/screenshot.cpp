// Saves a picture of the whole screen as a PNG file: how the run script shows a run that had no
// desktop of its own (inside a virtual X server).
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: screenshot OUTPUT.png\n");
    return 2;
  }
  // Qt sees only the program name: the output path is not one of its options.
  int qtArgc = 1;
  QGuiApplication application(qtArgc, argv);
  QScreen* screen = QGuiApplication::primaryScreen();
  const QPixmap picture = screen ? screen->grabWindow(0) : QPixmap();
  if (picture.isNull()) {
    std::fprintf(stderr, "screenshot: the screen cannot be read\n");
    return 1;
  }
  if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
    std::fprintf(stderr, "screenshot: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
