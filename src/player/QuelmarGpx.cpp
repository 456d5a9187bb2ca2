// "Attach GPX…" and "Detach GPX" of the recording list: a phone's track for a recording made without GPS.
//
// The attachment lives in the viewer's own store (never on the card) under the recording's path as
// "<offset seconds> <GPX path>". The track's time is placed by the recording's start (the time in its file
// name, the camera's local time in the zone of the card's setup.cfg or else the computer's; else the
// track's first point) plus the offset.
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <charconv>

#include "app/CSettingsStore.h"
#include "core/telemetry/RecordingStart.h"
#include "core/telemetry/TelemetryLayouts.h"
#include "core/telemetry/layouts/GpxTelemetry.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "player/RecordingFile.h"

namespace vx {
namespace {

constexpr char kAttachedGpxKey[] = "Viewer\\Attached GPX";
constexpr int kMaxOffsetSeconds = 24 * 3600;

struct GpxAttachment {
  std::string gpxPath;
  int offsetSeconds = 0;
};

CSettingsStore Store() { return CSettingsStore(CSettingsStore::DefaultPath()); }

std::optional<GpxAttachment> AttachmentOf(const std::string& recordingPath) {
  const std::optional<std::string> text = Store().ReadText(kAttachedGpxKey, recordingPath);
  const std::size_t space = text ? text->find(' ') : std::string::npos;
  if (space == std::string::npos) return std::nullopt;
  GpxAttachment attachment{text->substr(space + 1)};
  const auto [end, ec] = std::from_chars(text->data(), text->data() + space, attachment.offsetSeconds);
  if (ec != std::errc() || end != text->data() + space) return std::nullopt;
  return attachment;
}

// The recording's start in UTC milliseconds from its file name; empty when the name has no time.
std::optional<std::int64_t> NameStartUtcMs(const std::string& recordingPath) {
  const std::optional<RecordingStart> start = RecordingStartOf(recordingPath);
  if (!start) return std::nullopt;
  return start->utcSeconds * 1000;
}

// The GPX at `attachment` in the recording's time; a warning says why when the file cannot be read.
TelemetryTrack ReadAttachment(const std::string& recordingPath, const GpxAttachment& attachment) {
  std::string error;
  const auto file = FileByteSource::Open(attachment.gpxPath, error);
  if (!file) {
    TelemetryTrack none;
    none.layout = kGpxLayoutName;
    none.warning = error;
    return none;
  }
  std::string readError;
  TelemetryTrack track = ReadGpxText(ReadWhole(*file, readError), NameStartUtcMs(recordingPath),
                                     attachment.offsetSeconds * 1000ll);
  if (!readError.empty()) track.warning = readError;
  return track;
}

std::string PathBytes(const QString& path) { return QFile::encodeName(path).toStdString(); }

}  // namespace

TelemetryTrack CQuelmarDlg::AttachedGpx(const std::string& recordingPath) {
  const std::optional<GpxAttachment> attachment = AttachmentOf(recordingPath);
  if (!attachment) return {};
  TelemetryTrack track = ReadAttachment(recordingPath, *attachment);
  if (!track.warning.empty()) qWarning("vx880: %s: %s", attachment->gpxPath.c_str(), track.warning.c_str());
  return track;
}

void CQuelmarDlg::OnAttachGpx() {
  const int row = m_pCatalogue->FirstSelectedRow();
  if (row < 0) return;
  const QString title = tr("Attach GPX");
  const QString gpx = QFileDialog::getOpenFileName(this, title, {}, tr("GPX tracks (*.gpx *.GPX)"));
  if (gpx.isEmpty()) return;
  bool ok = false;
  const int offset = QInputDialog::getInt(this, title, tr("Offset of the track in seconds:"), 0, -kMaxOffsetSeconds,
                                          kMaxOffsetSeconds, 1, &ok);
  if (!ok) return;
  const QString problem = AttachGpx(row, PathBytes(gpx), offset);
  if (!problem.isEmpty()) QMessageBox::warning(this, title, tr("%1 was not attached.\n%2").arg(gpx, problem));
}

QString CQuelmarDlg::AttachGpx(int row, const std::string& gpxPath, int offsetSeconds) {
  const std::string recording = PathBytes(m_pCatalogue->PathAt(row));
  const GpxAttachment attachment{gpxPath, offsetSeconds};
  TelemetryTrack track = ReadAttachment(recording, attachment);
  if (track.gps.empty()) {
    return track.warning.empty() ? tr("The track has no points in the recording's time.")
                                 : tr("The track has no points: %1").arg(QString::fromStdString(track.warning));
  }
  if (!Store().WriteText(kAttachedGpxKey, recording, std::to_string(offsetSeconds) + ' ' + gpxPath)) {
    return tr("The attachment could not be saved to %1.").arg(QString::fromStdString(Store().File().string()));
  }
  ShowAttachedTrack(row, [&track] { return std::move(track); });
  return {};
}

void CQuelmarDlg::OnDetachGpx() {
  const int row = m_pCatalogue->FirstSelectedRow();
  if (row < 0) return;
  const std::string recording = PathBytes(m_pCatalogue->PathAt(row));
  if (!Store().DeleteValue(kAttachedGpxKey, recording)) {
    QMessageBox::warning(this, tr("Detach GPX"), tr("The settings could not be saved to %1.")
                                                     .arg(QString::fromStdString(Store().File().string())));
    return;
  }
  ShowAttachedTrack(row, [&] {
    const bool open = m_pCatalogue->IsPlayingRow(row) && IsLoaded();
    return ReadRecordingTelemetry(recording, open ? m_engine.Recording()->TelemetrySource() : nullptr);
  });
}

// A track attached or detached shows at once for a playing recording that has no telemetry of its own. In a
// trip it stands for that recording's part of the trip's track, whichever of the trip's recordings it is, and
// the trip plays on with the others' parts as they were. `track` is read only when it shows.
void CQuelmarDlg::ShowAttachedTrack(int row, const std::function<TelemetryTrack()>& track) {
  const auto replaceable = [](const TelemetryTrack& shown) {
    return shown.layout.empty() || shown.layout == kGpxLayoutName;
  };
  if (m_trip) {
    const std::string& filePath = m_pCatalogue->EntryAt(row).filePath;
    for (std::size_t file = 0; file < m_trip->entries.size(); ++file) {
      if (m_trip->entries[file].filePath != filePath || !replaceable(m_trip->tracks[file])) continue;
      m_trip->tracks[file] = track();
      ShowTripTelemetry();
      return;
    }
    return;
  }
  if (m_pCatalogue->IsPlayingRow(row) && IsLoaded() && replaceable(m_telemetry)) ShowTelemetry(track());
}

}  // namespace vx
