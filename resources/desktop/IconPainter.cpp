// vx880-icon-painter: the window icon at the sizes desktops look for, as a hicolor icon theme tree.
#include <QDir>
#include <QGuiApplication>

#include <cstdio>

#include "../painter/WindowArt.h"

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: vx880-icon-painter <hicolor folder> <icon name>\n");
    return 2;
  }
  const QDir theme(QString::fromLocal8Bit(argv[1]));
  for (const int side : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const QString folder = QStringLiteral("%1x%1/apps").arg(side);
    const QString file = theme.filePath(folder + "/" + QString::fromLocal8Bit(argv[2]) + ".png");
    if (!theme.mkpath(folder) || !vx::skin::PaintWindowIcon(side).save(file, "PNG")) {
      std::fprintf(stderr, "vx880-icon-painter: cannot write %s\n", qPrintable(file));
      return 1;
    }
  }
  return 0;
}
