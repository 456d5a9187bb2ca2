// The main window's map: page choice, track, position updates and seeks from the page.
#include "views/CMapView.h"

#include <QDir>
#include <QWebChannel>
#include <QWebEnginePage>

#include "core/common/DataFolder.h"
#include "core/views/MapPosition.h"
#include "views/CMapBridge.h"

namespace vx {

CMapView::CMapView(QWidget* parent) : CExplorerMapViewWnd(parent), m_pBridge(new CMapBridge(this)) {
  auto* channel = new QWebChannel(Page());
  channel->registerObject(QStringLiteral("player"), m_pBridge);
  Page()->setWebChannel(channel);
  connect(m_pBridge, &CMapBridge::seekRequested, this, &CMapView::seekRequested);
  connect(Page(), &QWebEnginePage::loadStarted, this, [this] { m_bPageLoaded = false; });
  connect(this, &CExplorerMapViewWnd::pageLoaded, this, [this](bool ok) {
    m_bPageLoaded = ok;
    if (ok) DrawTrack();
  });
}

QString CMapView::PagePath(int languageIndex) {
  const QString file = QString::fromLatin1(MapPageFile(languageIndex));
  return QDir(QString::fromStdString(DataFolder().string())).filePath(file);
}

void CMapView::LoadPage(int languageIndex) { Navigate(PagePath(languageIndex)); }

void CMapView::SetRecording(const CTextData& textData, std::int64_t durationMs) {
  m_pBridge->SetDurationMs(durationMs);
  m_strTrackScript = DrawTrackJavaScript(textData.m_arrGps);
  if (m_bPageLoaded) DrawTrack();
}

void CMapView::DrawTrack() {
  if (!m_strTrackScript.empty()) RunJavaScript(QString::fromStdString(m_strTrackScript));
}

void CMapView::UpdateMapPosition(std::uint32_t positionMs, const CTextData& textData) {
  const auto calls = MapCallsForPosition(textData.m_arrGps, positionMs);
  if (!calls) return;
  CallScript(QString::fromStdString(calls->motion));
  CallScript(QString::fromStdString(calls->position));
}

}  // namespace vx
