// Saves a picture of one X window, as the X server draws it: grab_window WINDOW_ID OUT.png.
// docs/screenshots.sh takes the pictures of the real program with it.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: grab_window WINDOW_ID OUT.png\n", stderr);
    return 2;
  }
  QGuiApplication app(argc, argv);
  const QPixmap picture = QGuiApplication::primaryScreen()->grabWindow(std::stoul(argv[1]));
  return !picture.isNull() && picture.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
