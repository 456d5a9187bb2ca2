// The fonts the program, its skin painter and its card maker ask for are installed from the one package list.
#include <QProcess>
#include <QStringList>

#include <gtest/gtest.h>

namespace vx {
namespace {

// What the program prints, trimmed; empty when it fails.
QString Output(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.start(program, arguments);
  if (!process.waitForFinished(20000) || process.exitCode() != 0) return {};
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

TEST(InstalledFonts, EveryFontInUseComesFromAListedPackage) {
  // What is asked of the font configuration, and the family itself or its metric-compatible stand-in.
  const std::pair<QString, QStringList> uses[] = {
      {"DejaVu Sans:bold", {"DejaVu Sans"}},                  // skin painter
      {"DejaVu Sans Mono:bold", {"DejaVu Sans Mono"}},        // card maker's burnt-in text
      {"Arial:bold", {"Arial", "Liberation Sans"}},           // speed label
      {"sans-serif", {"DejaVu Sans"}},                        // window texts
      {"sans-serif:lang=ko", {"Noto Sans CJK KR"}},           // Korean texts
      {"sans-serif:lang=ja", {"Noto Sans CJK JP"}},           // Japanese texts
      {"sans-serif:lang=zh-tw", {"Noto Sans CJK TC"}},        // Chinese texts
  };
  for (const auto& [pattern, families] : uses) {
    const QStringList match = Output("fc-match", {"-f", "%{family[0]}\n%{file}", pattern}).split(u'\n');
    ASSERT_EQ(match.size(), 2) << pattern.toStdString();
    EXPECT_TRUE(families.contains(match[0])) << pattern.toStdString() << " gives " << match[0].toStdString();
    const QString owner = Output("dpkg-query", {"-S", match[1]}).section(u':', 0, 0);
    const QString list = QStringLiteral(VX_SOURCE_DIR "/scripts/packages.txt");
    EXPECT_TRUE(!owner.isEmpty() && QProcess::execute("grep", {"-qx", owner, list}) == 0)
        << match[1].toStdString() << " comes from " << owner.toStdString() << ", which is not listed";
  }
}

}  // namespace
}  // namespace vx
