// Picks the recording a command line names by itself, the way the window's list would, and starts it.
#include "app/StartupRecording.h"

#include <QFile>
#include <QStringList>

#include "app/CommandLine.h"
#include "core/player/RecordingNames.h"
#include "player/RecordingFile.h"

namespace vx {

std::shared_ptr<CStartupRecording> StartRecordingNamedAlone(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QString error;
  const std::optional<PlayerCommandLine> line = ReadPlayerCommandLine(arguments, error);
  if (!line || line->help || line->version || line->paths.size() != 1) return nullptr;
  const std::string path = QFile::encodeName(line->paths.front()).toStdString();
  if (!IsRegularFile(path) || !IsListedRecording(path)) return nullptr;
  // A rear file stands for its pair's row, as in the list.
  RecordingPair pair = PairOf(path, IsRegularFile);
  return std::make_shared<CStartupRecording>(std::move(pair.rowPath), std::move(pair.partnerPath));
}

}  // namespace vx
