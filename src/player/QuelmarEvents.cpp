// The events window of the listed card, opened from the list's menu or F4, playing a recording chosen by its
// file (from there or the list's trips view), and the events of the open recording marked on the position slider.
#include <QFile>

#include "core/cardindex/EventDetector.h"
#include "player/CEventsDlg.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"

namespace vx {

CEventsDlg* CQuelmarDlg::EventsWindow() const { return m_pEventsDlg; }

// One events window at a time: asked again for the same card it comes to the front; for another card the old
// one closes (stopping its reading) and a new one reads that card.
void CQuelmarDlg::OnEvents() {
  const std::string folder = m_pCatalogue->CardFolder();
  if (m_pEventsDlg && m_pEventsDlg->CardFolder() == folder) {
    m_pEventsDlg->raise();
    m_pEventsDlg->activateWindow();
    return;
  }
  if (m_pEventsDlg) m_pEventsDlg->close();
  if (folder.empty()) return;
  m_pEventsDlg = new CEventsDlg(folder, this);
  connect(m_pEventsDlg, &CEventsDlg::eventChosen, this, &CQuelmarDlg::PlayEvent);
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
  m_events = DetectEvents(m_telemetry).events;
  std::vector<int> positions;
  for (const DetectedEvent& event : m_events) {
    positions.push_back(static_cast<int>(event.mediaMs));
  }
  m_pPositionSlider->SetMarks(std::move(positions));
}

}  // namespace vx
