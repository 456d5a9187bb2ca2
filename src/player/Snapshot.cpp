// Pause, grab, ask, write, resume.
#include "player/Snapshot.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMessageBox>
#include <QSaveFile>

#include <vector>

#include "core/player/SnapshotNames.h"
#include "engine/CPlaybackEngine.h"

namespace vx {
namespace {

struct Picture {
  QString path;
  QImage image;
};

// Written to a temporary file and renamed over the target only when complete, so a failed write never
// leaves half a picture or spoils an existing file. Empty on success, else the reason.
QString WriteJpeg(const Picture& picture) {
  QSaveFile file(picture.path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  QImageWriter writer(&file, "jpg");
  if (!writer.write(picture.image)) {
    file.cancelWriting();
    return writer.errorString();
  }
  if (!file.commit()) return file.errorString();
  return {};
}

// The recording object the command started with, if it is still the loaded one.
bool SameRecording(const CPlaybackEngine& engine, const CRecordingGraph* recording, const std::string& path) {
  return engine.Recording() == recording && recording && recording->FilePath() == path &&
         recording->State() != EngineState::Closed;
}

}  // namespace

SnapshotPrompts StandardSnapshotPrompts() {
  SnapshotPrompts prompts;
  prompts.chooseFile = [](QWidget* parent, const QString& defaultName) -> std::optional<QString> {
    const QString path = QFileDialog::getSaveFileName(parent, QString(), defaultName,
                                                      QStringLiteral("jpeg file (*.jpg)"), nullptr,
                                                      QFileDialog::DontConfirmOverwrite);
    if (path.isEmpty()) return std::nullopt;
    return path;
  };
  prompts.confirmReplace = [](QWidget* parent, const QStringList& existing) {
    return QMessageBox::question(parent, QStringLiteral("Snapshot"),
                                 QStringLiteral("These files exist already:\n%1\n\nReplace them?")
                                     .arg(existing.join(QLatin1Char('\n'))),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
  };
  prompts.reportFailures = [](QWidget* parent, const QStringList& failures) {
    QMessageBox::warning(parent, QStringLiteral("Snapshot"),
                         QStringLiteral("The snapshot could not be saved:\n%1").arg(failures.join(QLatin1Char('\n'))));
  };
  return prompts;
}

SnapshotResult TakeSnapshot(CPlaybackEngine& engine, QWidget* parent, const QString& playingPath,
                            const SnapshotPrompts& prompts) {
  SnapshotResult result;
  CRecordingGraph* recording = engine.Recording();
  const EngineState state = recording ? recording->State() : EngineState::Closed;
  if (state != EngineState::Running && state != EngineState::Paused) return result;
  QImage front;
  QImage rear;
  if (!engine.GrabFrame(0, front)) return result;
  const std::string recordingPath = recording->FilePath();
  recording->Pause();
  if (recording->VideoStreamCount() > 1) engine.GrabFrame(1, rear);
  const auto resume = [&] {
    if (state == EngineState::Running && SameRecording(engine, recording, recordingPath)) recording->Run();
  };

  const QString defaultName = QString::fromStdString(SnapshotDefaultName(playingPath.toStdString()));
  const std::optional<QString> chosen = prompts.chooseFile(parent, defaultName);
  if (!chosen) {
    result.outcome = SnapshotOutcome::Cancelled;
    resume();
    return result;
  }
  const SnapshotFiles names = SnapshotFileNames(chosen->toStdString());
  std::vector<Picture> pictures{{QString::fromStdString(names.front), front}};
  if (!rear.isNull()) pictures.push_back({QString::fromStdString(names.rear), rear});

  QStringList existing;
  for (const Picture& picture : pictures) {
    if (QFileInfo::exists(picture.path)) existing << picture.path;
  }
  if (!existing.isEmpty() && !prompts.confirmReplace(parent, existing)) {
    result.outcome = SnapshotOutcome::Declined;
    resume();
    return result;
  }
  QStringList failures;
  for (const Picture& picture : pictures) {
    const QString reason = WriteJpeg(picture);
    if (reason.isEmpty()) {
      result.written << picture.path;
    } else {
      failures << picture.path + QStringLiteral(": ") + reason;
    }
  }
  result.outcome = failures.isEmpty() ? SnapshotOutcome::Written : SnapshotOutcome::Failed;
  resume();
  if (!failures.isEmpty()) prompts.reportFailures(parent, failures);
  return result;
}

}  // namespace vx

