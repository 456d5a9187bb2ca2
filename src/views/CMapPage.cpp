// Keeping the map view on its own pages.
#include "views/CMapPage.h"

#include <QDesktopServices>
#include <QDir>
#include <QWebEngineNewWindowRequest>

#include "core/common/DataFolder.h"
#include "core/views/MapPosition.h"

namespace vx {
namespace {

// Pages exist for language indexes 0 to 4.
constexpr int kPageLanguages = 5;

// Web links go to the user's browser; anything else a page points at (data:, javascript:, other files) goes
// nowhere.
void OpenInBrowser(const QUrl& url) {
  if (url.scheme() == QLatin1String("http") || url.scheme() == QLatin1String("https")) QDesktopServices::openUrl(url);
}

}  // namespace

CMapPage::CMapPage(QWebEngineProfile* profile, QObject* parent) : QWebEnginePage(profile, parent) {
  // Leaving the request unanswered opens no window.
  connect(this, &QWebEnginePage::newWindowRequested, this,
          [](QWebEngineNewWindowRequest& request) { OpenInBrowser(request.requestedUrl()); });
}

QString CMapPage::PagePath(int languageIndex) {
  const QString file = QString::fromLatin1(MapPageFile(languageIndex));
  return QDir(QString::fromStdString(DataFolder().string())).filePath(file);
}

bool CMapPage::IsMapPage(const QUrl& url) {
  if (!url.isLocalFile()) return false;
  const QString path = QDir::cleanPath(url.toLocalFile());
  for (int language = 0; language < kPageLanguages; ++language) {
    if (path == QDir::cleanPath(PagePath(language))) return true;
  }
  return false;
}

// Any other page would get the viewer's bridge and the recording's places, so it never loads here.
bool CMapPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool /*isMainFrame*/) {
  if (IsMapPage(url)) return true;
  if (type == NavigationTypeLinkClicked) OpenInBrowser(url);
  return false;
}

}  // namespace vx
