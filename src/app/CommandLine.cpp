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
    } else if (argument == "--screenshot" && hasValue) {
      line.screenshot = arguments[++i];
    } else if (argument == "--after" && hasValue) {
      bool number = false;
      line.afterSeconds = arguments[++i].toDouble(&number);
      if (!number || !std::isfinite(line.afterSeconds) || line.afterSeconds < 0) {
        error = "--after needs a number of seconds, 0 or more";
        return std::nullopt;
      }
    } else {
      error = "unknown option or missing value: " + argument;
      return std::nullopt;
    }
  }
  return line;
}

}  // namespace vx
