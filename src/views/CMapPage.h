// The web page of the map: it only ever shows the viewer's own map pages; a link the user follows and a
// window a page asks for open in the user's browser instead.
#pragma once

#include <QString>
#include <QUrl>
#include <QWebEnginePage>

namespace vx {

class CMapPage : public QWebEnginePage {
  Q_OBJECT

 public:
  CMapPage(QWebEngineProfile* profile, QObject* parent);

  // The page file of a language index (0 to 4; any other index gets the English page) in the program's
  // data folder: beside it in the build tree, share/vx880 when installed.
  static QString PagePath(int languageIndex);
  // True for the file URL of one of those pages (a fragment or query aside).
  static bool IsMapPage(const QUrl& url);

 protected:
  bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
};

}  // namespace vx
