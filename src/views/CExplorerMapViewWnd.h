// The embedded web view of the map: loads one of the map pages into a persistent web profile with a disk cache
// (tiles seen once still show offline) and calls the page's functions from call texts, never another page's.
//
// The page lives as long as the widget; the web view that shows it exists only while the widget has a size.
// A web view draws through OpenGL, and while one is in a window Qt composes that whole window with OpenGL,
// every picture of the video views included: where OpenGL is drawn in software (most virtual machines, remote
// desktops, Xvfb), that costs several times the CPU of the playback itself.
#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QWebEnginePage;
class QWebEngineView;

namespace vx {

class CExplorerMapViewWnd : public QWidget {
  Q_OBJECT

 public:
  explicit CExplorerMapViewWnd(QWidget* parent = nullptr);
  ~CExplorerMapViewWnd() override;

  // Loads the page at a plain file path; only the map pages load.
  void Navigate(const QString& path);

  // Calls the page function that a call text names ("javascript:DrawCurrent('127.000000', '37.508333')",
  // parsed as ParseScriptCall says). The call is queued and never waited for: `onResult`, when given, later
  // receives the function's result if it was a string, else an empty text (also for an unknown function, an
  // empty name, or no map page).
  using ScriptResult = std::function<void(const QString&)>;
  void CallScript(const QString& text, const ScriptResult& onResult = {});

  QWebEnginePage* Page() const;

 signals:
  // A page load ended, well or not (a page that is not there still ends in a load).
  void pageLoaded(bool ok);

 protected:
  void resizeEvent(QResizeEvent* event) override;
  // Runs `source` in every page loaded later, before the page's own scripts.
  void AddEarlyScript(const QString& name, const QString& source);
  // Runs JavaScript in the page's own world, queued; dropped (an empty result) unless a map page is shown.
  void RunJavaScript(const QString& script, const ScriptResult& onResult = {});

 private:
  QWebEnginePage* m_pPage;
  QWebEngineView* m_pView = nullptr;  // while the widget has a size
};

}  // namespace vx
