// What the viewer's command line asks for: folders and files to list, the first row played, its speed, a
// screenshot, and the end of the program after the last row.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

#include "core/player/SpeedSteps.h"

namespace vx {

inline constexpr const char* kPlayerUsage =
    "usage: vx880-player [--full-screen] [--speed RATE] [--quit-at-end] [--screenshot FILE.png [--after SECONDS]]\n"
    "                    [--time-first-picture] [--] [FOLDER|FILE]...\n"
    "Lists the recordings of the folders (searched with their subfolders) and files, and plays the first.\n"
    "  --full-screen          start in full screen\n"
    "  --speed RATE           play at RATE, one of the speed buttons' rates: 0.5 0.6 0.8 1.0 1.2 1.4 1.6 1.8 2.0\n"
    "  --quit-at-end          end the program (status 0) when the last row has played to its end\n"
    "  --screenshot FILE.png  write a picture of the window SECONDS (default 0) after the first front\n"
    "                         picture is shown, then end\n"
    "  --time-first-picture   print when the first front picture is on screen (ms on the system's monotonic\n"
    "                         clock, as CLOCK_MONOTONIC), then end\n";

// The longest --after: the wait is a timer of int milliseconds.
inline constexpr int kMaxAfterSeconds = 2'147'483;

struct PlayerCommandLine {
  QStringList paths;  // absolute
  QString screenshot;
  int afterMs = 0;
  int speedStep = kNormalSpeedStep;
  bool quitAtEnd = false;
  bool timeFirstPicture = false;
  bool fullScreen = false;
  bool help = false;
  bool version = false;
};

// The parsed arguments (the program's name first), or empty with `error` set for a line it does not take.
std::optional<PlayerCommandLine> ReadPlayerCommandLine(const QStringList& arguments, QString& error);

// Takes the paths that name nothing out of the line; answers what to tell the user about them, a line each.
QString DropMissingPaths(PlayerCommandLine& line);

}  // namespace vx
