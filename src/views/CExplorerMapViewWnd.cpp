// The map's web view, its profile, and script calls by text.
#include "views/CExplorerMapViewWnd.h"

#include <QCoreApplication>
#include <QFile>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineScript>
#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>
#include <QWebEngineView>

#include "core/views/ScriptCall.h"
#include "views/CMapPage.h"

namespace vx {
namespace {

constexpr qint64 kTileCacheBytes = 200LL * 1024 * 1024;

// One profile for the whole process: two profiles on one storage folder would fight over its cache.
QWebEngineProfile* MapProfile() {
  static QWebEngineProfile* profile = [] {
    auto* p = new QWebEngineProfile(QStringLiteral("vx880-map"), QCoreApplication::instance());
    p->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    p->setHttpCacheMaximumSize(static_cast<int>(kTileCacheBytes));
    // The map pages are local files, and the engine refuses local pages anything from the web unless told so:
    // without this no tile ever comes. Only the map pages load in this profile's views.
    p->settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, true);
    // Tile servers ask every application to name itself and a way to reach its makers.
    p->setHttpUserAgent(QStringLiteral("vx880-viewer/" VX_VERSION " (+" VX_CONTACT ")"));
    return p;
  }();
  return profile;
}

// A script run before the page's own scripts, in their world.
QWebEngineScript EarlyScript(const QString& name, const QString& source) {
  QWebEngineScript script;
  script.setName(name);
  script.setSourceCode(source);
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  return script;
}

// qwebchannel.js from the web channel library, so that the page's scripts can reach the viewer; a page opened
// in an ordinary browser simply has no viewer to call.
QWebEngineScript WebChannelScript() {
  QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  file.open(QIODevice::ReadOnly);
  return EarlyScript(QStringLiteral("qwebchannel"), QString::fromUtf8(file.readAll()));
}

}  // namespace

CExplorerMapViewWnd::CExplorerMapViewWnd(QWidget* parent)
    : QWidget(parent), m_pPage(new CMapPage(MapProfile(), this)) {
  m_pPage->scripts().insert(WebChannelScript());
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  connect(m_pPage, &QWebEnginePage::loadFinished, this, &CExplorerMapViewWnd::pageLoaded);
}

// The page stays loaded without a view, and is shown again as it stands by the next one.
void CExplorerMapViewWnd::resizeEvent(QResizeEvent*) {
  if (size().isEmpty() && m_pView) {
    delete m_pView;
    m_pView = nullptr;
  } else if (!size().isEmpty() && !m_pView) {
    m_pView = new QWebEngineView(this);
    m_pView->setPage(m_pPage);
    m_pView->setContextMenuPolicy(Qt::NoContextMenu);
    layout()->addWidget(m_pView);
  }
}

CExplorerMapViewWnd::~CExplorerMapViewWnd() = default;

QWebEnginePage* CExplorerMapViewWnd::Page() const { return m_pPage; }

void CExplorerMapViewWnd::AddEarlyScript(const QString& name, const QString& source) {
  Page()->scripts().insert(EarlyScript(name, source));
}

void CExplorerMapViewWnd::Navigate(const QString& path) { m_pPage->load(QUrl::fromLocalFile(path)); }

void CExplorerMapViewWnd::CallScript(const QString& text, const ScriptResult& onResult) {
  const ScriptCall call = ParseScriptCall(text.toStdString());
  if (call.function.empty()) {
    if (onResult) onResult({});
    return;
  }
  RunJavaScript(QString::fromStdString(ScriptCallJavaScript(call)), onResult);
}

void CExplorerMapViewWnd::RunJavaScript(const QString& script, const ScriptResult& onResult) {
  // The track and the car's places go to our own map pages only.
  if (!CMapPage::IsMapPage(Page()->url())) {
    if (onResult) onResult({});
    return;
  }
  if (!onResult) {
    Page()->runJavaScript(script, QWebEngineScript::MainWorld);
    return;
  }
  Page()->runJavaScript(script, QWebEngineScript::MainWorld, [onResult](const QVariant& result) {
    onResult(result.typeId() == QMetaType::QString ? result.toString() : QString());
  });
}

}  // namespace vx
