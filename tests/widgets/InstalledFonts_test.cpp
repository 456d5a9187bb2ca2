// The fonts the program, its skin painter and its card maker ask for are installed from the one package list.
#include <QFile>
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace vx {
namespace {

struct FontUse {
  const char* pattern;        // what is asked of the font configuration
  QStringList acceptedFamilies;  // the family itself or its metric-compatible stand-in
  const char* usedBy;
};

QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

QStringList ListedPackages() {
  QFile file(QStringLiteral(VX_SOURCE_DIR "/scripts/packages.txt"));
  if (!file.open(QIODevice::ReadOnly)) return {};
  QStringList packages;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QString name = QString::fromUtf8(line).trimmed();
    if (!name.isEmpty() && !name.startsWith(u'#')) packages << name;
  }
  return packages;
}

TEST(InstalledFonts, EveryFontInUseComesFromAListedPackage) {
  const FontUse uses[] = {
      {"DejaVu Sans:bold", {"DejaVu Sans"}, "skin painter"},
      {"DejaVu Sans Mono:bold", {"DejaVu Sans Mono"}, "card maker's burnt-in text"},
      {"Arial:bold", {"Arial", "Liberation Sans"}, "speed label"},
      {"sans-serif", {"DejaVu Sans"}, "window texts"},
      {"sans-serif:lang=ko", {"Noto Sans CJK KR"}, "Korean texts"},
      {"sans-serif:lang=ja", {"Noto Sans CJK JP"}, "Japanese texts"},
      {"sans-serif:lang=zh-tw", {"Noto Sans CJK TC"}, "Chinese texts"},
  };
  const QStringList listed = ListedPackages();
  ASSERT_FALSE(listed.isEmpty());
  for (const FontUse& use : uses) {
    const QStringList match =
        Output(QStringLiteral("fc-match"), {QStringLiteral("-f"), QStringLiteral("%{family[0]}\n%{file}"),
                                         QString::fromUtf8(use.pattern)}).split(u'\n');
    ASSERT_EQ(match.size(), 2) << use.pattern;
    EXPECT_TRUE(use.acceptedFamilies.contains(match[0]))
        << use.usedBy << ": " << use.pattern << " gives " << match[0].toStdString();
    const QString owner = Output(QStringLiteral("dpkg-query"), {QStringLiteral("-S"), match[1]}).section(u':', 0, 0);
    EXPECT_TRUE(listed.contains(owner)) << use.usedBy << ": " << match[1].toStdString() << " comes from "
                                        << owner.toStdString() << ", which scripts/packages.txt does not list";
  }
}

}  // namespace
}  // namespace vx
