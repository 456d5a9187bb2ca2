// The events window of the listed card, opened from the list's menu or F4, playing a recording chosen by its
// file (from there or the list's trips view), the open recording's events marked on the position slider, and
// the Preferences dialog whose gap and thresholds the trips view, the events window and the marks use, and
// whose speed unit the readout shows.
#include <QFile>

#include "core/cardindex/EventDetector.h"
#include "export/CardExport.h"
#include "player/CEventsDlg.h"
#include "player/CPreferencesDlg.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "player/ViewerPreferencesStore.h"
#include "views/CMapView.h"
#include "widgets/CTkSlider.h"

namespace vx {
namespace {

CSettingsStore Store() { return CSettingsStore(CSettingsStore::DefaultPath()); }

}  // namespace

CEventsDlg* CQuelmarDlg::EventsWindow() const { return m_pEventsDlg; }

// One events window at a time: asked again for the same card with the same thresholds it comes to the front;
// otherwise the old one closes (stopping its reading) and a new one reads the card.
void CQuelmarDlg::OnEvents() {
  const std::string folder = m_pCatalogue->CardFolder();
  const ViewerPreferences preferences = LoadViewerPreferences(Store());
  if (m_pEventsDlg && m_pEventsDlg->CardFolder() == folder && m_pEventsDlg->Thresholds() == preferences.Thresholds()) {
    m_pEventsDlg->raise();
    m_pEventsDlg->activateWindow();
    return;
  }
  if (m_pEventsDlg) m_pEventsDlg->close();
  if (folder.empty()) return;
  m_pEventsDlg = new CEventsDlg(folder, preferences, this);
  connect(m_pEventsDlg, &CEventsDlg::eventChosen, this, &CQuelmarDlg::PlayEvent);
  connect(m_pEventsDlg, &CEventsDlg::exportChosen, this, &CQuelmarDlg::ExportEvent);
  m_pEventsDlg->show();
}

// A recording below the card that the list no longer shows is listed again first.
bool CQuelmarDlg::PlayRecordingFile(const std::string& recordingPath) {
  int row = m_pCatalogue->RowOfFile(recordingPath);
  if (row < 0) {
    m_pCatalogue->AddPaths({QFile::decodeName(QByteArray::fromStdString(recordingPath))});
    row = m_pCatalogue->RowOfFile(recordingPath);
  }
  if (row < 0) return false;
  PlayChosenRow(row);
  return IsLoaded() && m_engine.Recording()->HasGraph();
}

// Plays the recording, then moves to the chosen moment.
void CQuelmarDlg::PlayEvent(const std::string& recordingPath, std::uint32_t positionMs) {
  if (!PlayRecordingFile(recordingPath)) return;
  m_engine.Recording()->SetPosition(static_cast<RefTime>(positionMs) * kRefTimePerMs);
  UpdateTimeline();
}

void CQuelmarDlg::MarkEvents() {
  m_events = DetectEvents(m_telemetry, LoadViewerPreferences(Store()).Thresholds()).events;
  std::vector<int> positions;
  for (const DetectedEvent& event : m_events) {
    positions.push_back(static_cast<int>(event.mediaMs));
  }
  m_pPositionSlider->SetMarks(std::move(positions));
}

void CQuelmarDlg::UpdateSpeedUnit() {
  m_speedUnit = ChooseSpeedUnit(LoadViewerPreferences(Store()).SpeedUnitPreference(), m_cardSpeedUnit,
                                EnvironmentLocale());
}

void CQuelmarDlg::ToggleTrips() {
  m_pCatalogue->SetPreferences(LoadViewerPreferences(Store()));
  m_pCatalogue->ShowTrips(!m_pCatalogue->IsShowingTrips());
}

// Window-modal without blocking the event loop, so that playback goes on behind it.
void CQuelmarDlg::OnPreferences() {
  auto* dialog = new CPreferencesDlg(Store(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this] {
    m_pCatalogue->SetPreferences(LoadViewerPreferences(Store()));
    UpdateSpeedUnit();
    if (!IsLoaded()) return;
    UpdateReadout(PlayingPositionMs());
    MarkEvents();
    if (m_pMapView) m_pMapView->SetRecording(m_telemetry, TimelineDurationMs(), m_events);
    ShowRecordingOnGraph();
  });
  dialog->open();
}

}  // namespace vx
