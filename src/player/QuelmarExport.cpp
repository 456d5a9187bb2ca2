// The span marked for export on the position slider (I, O, Clear Span), and the export of it or of an event
// chosen in the events window through the export dialog.
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QStandardPaths>

#include "core/cardindex/RecordingSummaries.h"
#include "core/export/SpanMarks.h"
#include "core/telemetry/RecordingStart.h"
#include "export/CardExport.h"
#include "player/CEventsDlg.h"
#include "player/CExportDlg.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "player/ViewerPreferencesStore.h"
#include "widgets/CTkSlider.h"

namespace vx {
namespace {

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The user's videos folder where there is one, else the home folder.
QString ExportFolder() {
  const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
  return !videos.isEmpty() && QDir(videos).exists() ? videos : QDir::homePath();
}

// The card's clock when the recording started, by its name; nothing when its name carries no time.
std::optional<std::int64_t> RecordingClockMs(const std::string& path) {
  const std::optional<RecordingStart> start = RecordingStartOf(path);
  if (!start) return std::nullopt;
  return start->utcSeconds * 1000 + std::int64_t{start->zone.offsetMinutes} * 60'000;
}

QString DefaultExportPath(const std::string& recordingPath, std::int64_t fromMs, std::int64_t toMs) {
  return QDir(ExportFolder()).filePath(Text(DefaultExportName(recordingPath, fromMs, toMs, RecordingClockMs(recordingPath))));
}

// "0:05.000 to 0:25.000 (20.0 s)" on the time line that plays.
QString SpanText(std::int64_t fromMs, std::int64_t toMs) {
  const auto clock = [](std::int64_t ms) {
    return QStringLiteral("%1:%2.%3").arg(ms / 60'000).arg(ms / 1000 % 60, 2, 10, QChar(u'0')).arg(ms % 1000, 3, 10, QChar(u'0'));
  };
  return QStringLiteral("%1 to %2 (%3 s)").arg(clock(fromMs), clock(toMs)).arg(static_cast<double>(toMs - fromMs) / 1000.0, 0, 'f', 1);
}

// Completes a planned request with the card's root, zone and speed unit.
void TakeViewerFacts(ExportRequest& request, const std::string& cardRoot) {
  request.cardRoot = cardRoot;
  const SpeedUnitChoice unit = LoadViewerPreferences(CSettingsStore(CSettingsStore::DefaultPath())).SpeedUnitPreference();
  TakeCardFacts(request, unit, EnvironmentLocale(), std::string("vx880-player ") + VX_VERSION);
}

}  // namespace

void CQuelmarDlg::MarkIn() {
  if (!IsLoaded()) return;
  m_span.SetIn(PlayingPositionMs());
  ShowSpan();
}

void CQuelmarDlg::MarkOut() {
  if (!IsLoaded()) return;
  m_span.SetOut(PlayingPositionMs());
  ShowSpan();
}

void CQuelmarDlg::ClearSpan() {
  m_span.Clear();
  ShowSpan();
}

void CQuelmarDlg::ShowSpan() {
  const auto slider = [](const std::optional<std::int64_t>& ms) {
    return ms ? std::optional(static_cast<int>(std::min<std::int64_t>(*ms, INT32_MAX))) : std::nullopt;
  };
  m_pPositionSlider->SetSpan(slider(m_span.inMs), slider(m_span.outMs));
}

// The marks are on the time line that plays: the trip's recordings, or the one recording. Their times on the
// card come from the recordings' summaries, read on the export's worker.
void CQuelmarDlg::OnExport() {
  const std::string problem = IsLoaded() ? m_span.Problem() : "Play a recording and mark a span first.";
  if (!problem.empty()) {
    auto* box = new QMessageBox(QMessageBox::Information, QStringLiteral("Export"), Text(problem), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
    return;
  }
  std::vector<std::string> paths;
  if (m_trip) {
    for (const RecordingEntry& entry : m_trip->entries) paths.push_back(entry.filePath);
  } else {
    paths.push_back(m_engine.Recording()->FilePath());
  }
  const TripTimeline timeline = m_trip ? m_trip->timeline : TripTimeline({m_engine.GetDurationMs()});
  const std::int64_t inMs = *m_span.inMs, outMs = *m_span.outMs;
  const std::string cardRoot = m_pCatalogue->CardFolder();
  OpenExportDialog(SpanText(inMs, outMs), DefaultExportPath(paths.front(), inMs, outMs),
                   [paths, timeline, inMs, outMs, cardRoot] {
                     std::vector<RecordingSummary> chain;
                     std::vector<std::int64_t> starts;
                     for (const std::string& path : paths) {
                       chain.push_back(SummarizeRecording(path));
                       starts.push_back(chain.back().startUtcMs);
                     }
                     ExportRequest request = SpanExportRequest(
                         chain, {TimelineUtcMs(starts, timeline, inMs, false), TimelineUtcMs(starts, timeline, outMs, true)});
                     TakeViewerFacts(request, cardRoot);
                     return request;
                   });
}

void CQuelmarDlg::ExportEvent(const std::vector<RecordingSummary>& chain, const std::string& recordingPath,
                              std::int64_t eventUtcMs) {
  const auto recording = std::find_if(chain.begin(), chain.end(), [&](const RecordingSummary& r) { return r.path == recordingPath; });
  if (recording == chain.end()) return;
  const ExportSpan span = EventSpan(chain, eventUtcMs);
  const std::int64_t fromMs = span.fromUtcMs - recording->startUtcMs, toMs = span.toUtcMs - recording->startUtcMs;
  const std::string cardRoot = m_pEventsDlg ? m_pEventsDlg->CardFolder() : m_pCatalogue->CardFolder();
  OpenExportDialog(SpanText(std::max<std::int64_t>(fromMs, 0), toMs) + QStringLiteral(" of ") +
                       QFile::decodeName(QByteArray::fromStdString(recordingPath)).section(QChar(u'/'), -1),
                   DefaultExportPath(recordingPath, fromMs, toMs), [chain, eventUtcMs, cardRoot] {
                     ExportRequest request = EventExportRequest(chain, eventUtcMs);
                     TakeViewerFacts(request, cardRoot);
                     return request;
                   });
}

// One export dialog at a time: an export still running keeps its dialog, which comes to the front.
void CQuelmarDlg::OpenExportDialog(const QString& span, const QString& defaultPath,
                                   std::function<ExportRequest()> makeRequest) {
  if (m_pExportDlg && m_pExportDlg->IsRunning()) {
    m_pExportDlg->raise();
    return;
  }
  delete m_pExportDlg;
  m_pExportDlg = new CExportDlg(span, defaultPath, std::move(makeRequest), this);
  m_pExportDlg->setAttribute(Qt::WA_DeleteOnClose);
  m_pExportDlg->open();
}

CExportDlg* CQuelmarDlg::ExportWindow() const { return m_pExportDlg; }

}  // namespace vx
