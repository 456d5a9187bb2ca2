// Reading the viewer's command line: options first or anywhere, "--" ends them, paths made absolute.
#include "app/CommandLine.h"

#include <QFileInfo>

#include <cmath>

namespace vx {

std::optional<PlayerCommandLine> ReadPlayerCommandLine(const QStringList& arguments, QString& error) {
  PlayerCommandLine line;
  bool optionsEnded = false;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    const bool hasValue = i + 1 < arguments.size();
    if (optionsEnded || !argument.startsWith("-") || argument == "-") {
      line.paths << QFileInfo(argument).absoluteFilePath();
    } else if (argument == "--") {
      optionsEnded = true;
    } else if (argument == "--full-screen") {
      line.fullScreen = true;
    } else if (argument == "--help") {
      line.help = true;
    } else if (argument == "--version") {
      line.version = true;
    } else if (argument == "--quit-at-end") {
      line.quitAtEnd = true;
    } else if (argument == "--time-first-picture") {
      line.timeFirstPicture = true;
    } else if (argument == "--speed" && hasValue) {
      bool number = false;
      const double rate = arguments[++i].toDouble(&number);
      const std::optional<int> step = number ? SpeedStepForRate(rate) : std::nullopt;
      if (!step) {
        error = "--speed needs one of the rates 0.5 0.6 0.8 1.0 1.2 1.4 1.6 1.8 2.0";
        return std::nullopt;
      }
      line.speedStep = *step;
    } else if (argument == "--screenshot" && hasValue) {
      line.screenshot = arguments[++i];
    } else if (argument == "--after" && hasValue) {
      bool number = false;
      const double seconds = arguments[++i].toDouble(&number);
      // NaN fails both comparisons, so it is refused with the rest.
      if (!number || !(seconds >= 0 && seconds <= kMaxAfterSeconds)) {
        error = QString("--after needs a number of seconds from 0 to %1").arg(kMaxAfterSeconds);
        return std::nullopt;
      }
      line.afterMs = static_cast<int>(std::lround(seconds * 1000));
    } else {
      error = "unknown option or missing value: " + argument;
      return std::nullopt;
    }
  }
  return line;
}

QString DropMissingPaths(PlayerCommandLine& line) {
  QString report;
  const auto missing = [&report](const QString& path) {
    if (QFileInfo::exists(path)) return false;
    report += "vx880-player: no such file or folder: " + path + "\n";
    return true;
  };
  line.paths.removeIf(missing);
  return report;
}

}  // namespace vx
