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
#include <QWebEngineView>

#include "core/views/ScriptCall.h"

namespace vx {
namespace {

constexpr qint64 kTileCacheBytes = 200LL * 1024 * 1024;

// One profile for the whole process: two profiles on one storage folder would fight over its cache.
QWebEngineProfile* MapProfile() {
  static QWebEngineProfile* profile = [] {
    auto* p = new QWebEngineProfile(QStringLiteral("vx880-map"), QCoreApplication::instance());
    p->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    p->setHttpCacheMaximumSize(static_cast<int>(kTileCacheBytes));
    // Tile servers ask every application to name itself.
    p->setHttpUserAgent(p->httpUserAgent() + QStringLiteral(" VX-880QN-Player/1.0"));
    return p;
  }();
  return profile;
}

// qwebchannel.js from the web channel library, run before the page's own scripts so that they can reach the
// viewer; a page opened in an ordinary browser simply has no viewer to call.
QWebEngineScript WebChannelScript() {
  QFile file(QStringLiteral(":/qtwebchannel/qwebchannel.js"));
  file.open(QIODevice::ReadOnly);
  QWebEngineScript script;
  script.setName(QStringLiteral("qwebchannel"));
  script.setSourceCode(QString::fromUtf8(file.readAll()));
  script.setInjectionPoint(QWebEngineScript::DocumentCreation);
  script.setWorldId(QWebEngineScript::MainWorld);
  script.setRunsOnSubFrames(false);
  return script;
}

}  // namespace

CExplorerMapViewWnd::CExplorerMapViewWnd(QWidget* parent) : QWidget(parent), m_pView(new QWebEngineView(this)) {
  auto* page = new QWebEnginePage(MapProfile(), m_pView);
  page->scripts().insert(WebChannelScript());
  m_pView->setPage(page);
  m_pView->setContextMenuPolicy(Qt::NoContextMenu);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(m_pView);
  connect(page, &QWebEnginePage::loadFinished, this, &CExplorerMapViewWnd::pageLoaded);
}

CExplorerMapViewWnd::~CExplorerMapViewWnd() = default;

QWebEnginePage* CExplorerMapViewWnd::Page() const { return m_pView->page(); }

void CExplorerMapViewWnd::Navigate(const QString& path) { m_pView->load(QUrl::fromLocalFile(path)); }

void CExplorerMapViewWnd::CallScript(const QString& text, const ScriptResult& onResult) {
  const ScriptCall call = ParseScriptCall(text.toStdString());
  if (call.function.empty()) {
    if (onResult) onResult({});
    return;
  }
  RunJavaScript(QString::fromStdString(ScriptCallJavaScript(call)), onResult);
}

void CExplorerMapViewWnd::RunJavaScript(const QString& script, const ScriptResult& onResult) {
  if (!onResult) {
    Page()->runJavaScript(script, QWebEngineScript::MainWorld);
    return;
  }
  Page()->runJavaScript(script, QWebEngineScript::MainWorld, [onResult](const QVariant& result) {
    onResult(result.typeId() == QMetaType::QString ? result.toString() : QString());
  });
}

}  // namespace vx
