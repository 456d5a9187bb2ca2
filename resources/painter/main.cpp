// vx880-skin-painter: draws every skin picture into PNG files, a resource list for them and a contact sheet.
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGuiApplication>
#include <QTextStream>

#include <cstdio>

#include "ContactSheet.h"
#include "Palette.h"
#include "SkinCatalog.h"

namespace {

bool WriteResourceList(const QString& path, const std::vector<vx::skin::SkinImage>& images) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
  QTextStream out(&file);
  out << "<RCC>\n  <qresource prefix=\"/skin\">\n";
  for (const auto& entry : images) out << "    <file>" << entry.id << ".png</file>\n";
  out << "  </qresource>\n</RCC>\n";
  return out.status() == QTextStream::Ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: vx880-skin-painter <output folder> <contact sheet png>\n");
    return 2;
  }
  // Another typeface in its place would change every label's width: refuse rather than paint a different skin.
  const QString family = QFontInfo(vx::skin::LabelFont(12)).family();
  if (family != vx::skin::LabelFontFamily()) {
    std::fprintf(stderr, "the skin's font %s is not installed (found '%s' instead): see scripts/packages.txt\n",
                 qPrintable(vx::skin::LabelFontFamily()), qPrintable(family));
    return 1;
  }
  const QDir folder(QString::fromLocal8Bit(argv[1]));
  if (!folder.mkpath(QStringLiteral("."))) return 1;
  const std::vector<vx::skin::SkinImage> images = vx::skin::PaintSkinImages();
  for (const auto& entry : images) {
    if (!entry.image.save(folder.filePath(QStringLiteral("%1.png").arg(entry.id)), "PNG")) {
      std::fprintf(stderr, "cannot write image %d\n", entry.id);
      return 1;
    }
  }
  if (!vx::skin::MakeContactSheet(images).save(QString::fromLocal8Bit(argv[2]), "PNG")) return 1;
  return WriteResourceList(folder.filePath(QStringLiteral("skin.qrc")), images) ? 0 : 1;
}
