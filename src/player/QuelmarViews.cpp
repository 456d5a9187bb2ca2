// The main window's map, acceleration graph and snapshot commands, and what each timeline tick hands them.
#include <algorithm>
#include <cstdint>

#include <QTimer>

#include "core/player/ControlIds.h"
#include "core/views/MapPosition.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "player/QtRect.h"
#include "player/Snapshot.h"
#include "views/CGSensorDlg.h"
#include "views/CMapView.h"

namespace vx {

void CQuelmarDlg::OnMap() { ApplyMapCommand(MapCommand(m_slots, LoadedVideoStreams(), HasGps())); }

void CQuelmarDlg::OnLargeMap() { ApplyMapCommand(LargeMapCommand(m_slots, LoadedVideoStreams(), HasGps())); }

bool CQuelmarDlg::HasGps() const { return HasValidFix(m_telemetry.gps); }

void CQuelmarDlg::ApplyMapCommand(const std::optional<MapCommandResult>& result) {
  if (!result) return;
  m_slots = result->viewSlots;
  // The page prepared after the first picture (or shown before) already holds the track and the car.
  if (result->loadPage && !MapView().HoldsPage(m_nLanguageIndex)) MapView().LoadPage(m_nLanguageIndex);
  UpdateMapButtons();
  ArrangeViews();
  if (m_pMapView) m_pMapView->raise();  // over the window's pictures
}

// Made on first use; each press shows or hides it. Its close box hides it as the button would.
void CQuelmarDlg::ToggleGraph() {
  if (!m_pGraphDlg) {
    m_pGraphDlg = std::make_unique<CGSensorDlg>(m_telemetry, this);
    connect(m_pGraphDlg.get(), &CGSensorDlg::closedByUser, this, [this] { m_bGraphHidden = true; });
    connect(m_pGraphDlg.get(), &CGSensorDlg::seekRequested, this, &CQuelmarDlg::SeekToMs);
    ShowRecordingOnGraph();
  }
  m_bGraphHidden = m_pGraphDlg->ApplyGraphButton(m_bGraphHidden);
}

// The graph's whole-recording view keeps its own copy of the samples' |G| and of the events.
void CQuelmarDlg::ShowRecordingOnGraph() {
  if (!m_pGraphDlg) return;
  const std::int64_t durationMs = std::clamp<std::int64_t>(TimelineDurationMs(), 0, UINT32_MAX);
  m_pGraphDlg->SetRecording(static_cast<std::uint32_t>(durationMs), m_events);
}

void CQuelmarDlg::HideGraph() {
  if (!m_pGraphDlg) return;
  m_pGraphDlg->hide();
  m_bGraphHidden = true;
}

void CQuelmarDlg::TakeSnapshotCommand() {
  const int row = m_pCatalogue->PlayingRow();
  // The front view shows channel 0 and the rear view channel 1, wherever the layout places them.
  const auto zoomOf = [](const CNrvVideoView& view) {
    return view.Zoom().IsZoomed() ? std::optional(view.Zoom().Region()) : std::nullopt;
  };
  // The picture's moment is the open recording's own: so is the track its place is read from.
  const TelemetryTrack& track = m_trip ? m_trip->tracks[m_trip->file] : m_telemetry;
  TakeSnapshot(m_engine, this, row >= 0 ? m_pCatalogue->PathAt(row) : QString(), track,
               {zoomOf(m_frontView), zoomOf(m_rearView)});
}

void CQuelmarDlg::ResetZoom() {
  m_frontView.ResetZoom();
  m_rearView.ResetZoom();
}

// The browser engine behind the map starts on this thread and takes long: started at a press of MAP it froze
// the window, video ticks included. It is started, and given its page, in the idle time after the first
// picture of a recording whose map could be shown, a step at a time so that ticks run between the steps.
// Recordings without GPS never start it.
void CQuelmarDlg::PrepareMapWhenIdle() {
  if (m_bMapPrepared || m_frontView.Frame().IsNull() || !MapButtonsAct(m_slots, LoadedVideoStreams(), HasGps())) return;
  m_bMapPrepared = true;
  // The browser engine starts and loads the page with no view: a web view is made only when the map is shown.
  QTimer::singleShot(0, this, [this] {
    if (!MapView().HoldsPage(m_nLanguageIndex)) m_pMapView->LoadPage(m_nLanguageIndex);
  });
}

// The web view starts a browser engine of its own: it is made after the first picture or when a map is first
// asked for, which keeps that cost out of start-up.
CMapView& CQuelmarDlg::MapView() {
  if (m_pMapView) return *m_pMapView;
  m_pMapView = new CMapView(this);
  m_pMapView->setGeometry(ToQRect(kMapParked));
  m_controls[IDC_MAP_VIEW] = m_pMapView;
  connect(m_pMapView, &CMapView::seekRequested, this, &CQuelmarDlg::SeekToMs);
  m_pMapView->SetRecording(m_telemetry, TimelineDurationMs(), m_events);
  m_pMapView->show();
  return *m_pMapView;
}

// A moment chosen on the map or the whole graph; the timeline shows it at once.
void CQuelmarDlg::SeekToMs(qint64 ms) {
  if (m_trip) {
    SeekTrip(ms);
  } else {
    m_engine.SeekMs(static_cast<std::int32_t>(ms));
  }
  UpdateTimeline();
}

void CQuelmarDlg::HandOnPosition(std::uint32_t positionMs) {
  PrepareMapWhenIdle();
  if (m_pMapView) m_pMapView->UpdateMapPosition(positionMs, m_telemetry);
  if (m_pGraphDlg) m_pGraphDlg->UpdateGraphPosition(positionMs);
}

}  // namespace vx
