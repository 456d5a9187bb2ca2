// Pause, grab, ask, write, resume.
#include "player/Snapshot.h"

#include <QBuffer>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageWriter>
#include <QMessageBox>
#include <QSaveFile>

#include <limits>
#include <span>
#include <vector>

#include "core/player/SnapshotNames.h"
#include "core/snapshot/ExifPayload.h"
#include "core/snapshot/JpegSegments.h"
#include "engine/CPlaybackEngine.h"

namespace vx {
namespace {

struct Picture {
  QString path;
  QImage image;
};

// The picture as a JPEG file's bytes with `exif` spliced in after its start (Qt's writer writes no EXIF);
// empty, with the reason in `error`, when it cannot be encoded.
QByteArray EncodedJpeg(const QImage& image, const std::vector<std::uint8_t>& exif, QString& error) {
  QBuffer encoded;
  encoded.open(QIODevice::WriteOnly);
  QImageWriter writer(&encoded, "jpg");
  if (!writer.write(image)) {
    error = writer.errorString();
    return {};
  }
  if (exif.empty()) return encoded.data();
  const QByteArray& plain = encoded.data();
  const JpegEdit edit =
      WithApp1Segment(std::span(reinterpret_cast<const std::uint8_t*>(plain.constData()), plain.size()), exif);
  error = QString::fromStdString(edit.error);
  return QByteArray(reinterpret_cast<const char*>(edit.bytes.data()), static_cast<qsizetype>(edit.bytes.size()));
}

// Written to a temporary file and renamed over the target only when complete, so a failed write never
// leaves half a picture or spoils an existing file. Empty on success, else the reason.
QString WriteJpeg(const Picture& picture, const std::vector<std::uint8_t>& exif) {
  QString error;
  const QByteArray bytes = EncodedJpeg(picture.image, exif, error);
  if (!error.isEmpty()) return error;
  QSaveFile file(picture.path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  if (file.write(bytes) != bytes.size()) {
    file.cancelWriting();
    return file.errorString();
  }
  if (!file.commit()) return file.errorString();
  return {};
}

// The part of `image` that `region` names, in whole pixels.
QImage Cropped(const QImage& image, const PictureRegion& region) {
  const QRectF part(region.x * image.width(), region.y * image.height(), region.width * image.width(),
                    region.height * image.height());
  return image.copy(part.toRect());
}

// The recording's position now, as the frame just grabbed shows it; nothing when the graph cannot say.
std::optional<std::uint32_t> PositionMs(CRecordingGraph& recording) {
  RefTime position = 0;
  if (!Succeeded(recording.GetPosition(position)) || position < 0) return std::nullopt;
  return static_cast<std::uint32_t>(
      std::min<std::int64_t>(RefTimeToMs(position), std::numeric_limits<std::uint32_t>::max()));
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
                            const TelemetryTrack& telemetry, const SnapshotZooms& zooms,
                            const SnapshotPrompts& prompts) {
  SnapshotResult result;
  CRecordingGraph* recording = engine.Recording();
  const EngineState state = recording ? recording->State() : EngineState::Closed;
  if (state != EngineState::Running && state != EngineState::Paused) return result;
  QImage front;
  QImage rear;
  if (!engine.GrabFrame(0, front)) return result;
  const std::string recordingPath = recording->FilePath();
  const std::optional<std::uint32_t> positionMs = PositionMs(*recording);
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
  if (zooms.front) pictures.push_back({QString::fromStdString(names.frontZoom), Cropped(front, *zooms.front)});
  if (!rear.isNull()) pictures.push_back({QString::fromStdString(names.rear), rear});
  if (!rear.isNull() && zooms.rear)
    pictures.push_back({QString::fromStdString(names.rearZoom), Cropped(rear, *zooms.rear)});

  QStringList existing;
  for (const Picture& picture : pictures) {
    if (QFileInfo::exists(picture.path)) existing << picture.path;
  }
  if (!existing.isEmpty() && !prompts.confirmReplace(parent, existing)) {
    result.outcome = SnapshotOutcome::Declined;
    resume();
    return result;
  }
  const std::vector<std::uint8_t> exif =
      positionMs ? ExifPayloadOf(FrameMomentOf(recordingPath, telemetry, *positionMs)) : std::vector<std::uint8_t>{};
  QStringList failures;
  for (const Picture& picture : pictures) {
    const QString reason = WriteJpeg(picture, exif);
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

