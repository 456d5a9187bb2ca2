// The main window's map: page choice, track and events, position updates and seeks from the page.
#include "views/CMapView.h"

#include <QWebChannel>
#include <QWebEnginePage>

#include "app/CSettingsStore.h"
#include "core/views/MapPosition.h"
#include "views/CMapBridge.h"
#include "views/CMapPage.h"

namespace vx {

namespace {

bool OnlineTilesAllowed() {
  const CSettingsStore store(CSettingsStore::DefaultPath());
  return store.ReadDword(CMapView::kSettingsKey, CMapView::kOnlineTiles).value_or(1) != 0;
}

}  // namespace

CMapView::CMapView(QWidget* parent)
    : CExplorerMapViewWnd(parent), m_pBridge(new CMapBridge(this)), m_pChannel(new QWebChannel(this)) {
  if (!OnlineTilesAllowed()) {
    AddEarlyScript(QStringLiteral("options"), QStringLiteral("window.MapOptions = { onlineTiles: false };"));
  }
  m_pChannel->registerObject(QStringLiteral("player"), m_pBridge);
  Page()->setWebChannel(m_pChannel);
  // The bridge belongs to our pages alone.
  connect(Page(), &QWebEnginePage::urlChanged, this,
          [this](const QUrl& url) { Page()->setWebChannel(CMapPage::IsMapPage(url) ? m_pChannel : nullptr); });
  connect(m_pBridge, &CMapBridge::seekRequested, this, &CMapView::seekRequested);
  connect(Page(), &QWebEnginePage::loadStarted, this, [this] { m_bPageLoaded = false; });
  connect(this, &CExplorerMapViewWnd::pageLoaded, this, [this](bool ok) {
    m_bPageLoaded = ok;
    m_bPageFailed = !ok;
    if (ok) DrawTrack();
  });
}

void CMapView::LoadPage(int languageIndex) {
  m_nPageLanguage = languageIndex;
  m_bPageFailed = false;
  Navigate(CMapPage::PagePath(languageIndex));
}

void CMapView::SetRecording(const TelemetryTrack& track, std::int64_t durationMs,
                            std::span<const DetectedEvent> events) {
  m_pBridge->SetDurationMs(durationMs);
  m_strTrackScript = DrawTrackJavaScript(track.gps) + DrawEventsJavaScript(events);
  if (m_bPageLoaded) DrawTrack();
}

void CMapView::DrawTrack() {
  if (!m_strTrackScript.empty()) RunJavaScript(QString::fromStdString(m_strTrackScript));
}

void CMapView::UpdateMapPosition(std::uint32_t positionMs, const TelemetryTrack& track) {
  const auto calls = MapCallsForPosition(track.gps, positionMs);
  if (!calls) return;
  CallScript(QString::fromStdString(calls->motion));
  CallScript(QString::fromStdString(calls->position));
}

}  // namespace vx
