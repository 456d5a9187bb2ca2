// vx880-player: start-up, then, until the main window arrives, a plain window whose two views play the
// recording named on the command line.
#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QTimer>

#include "app/CQuelmarApp.h"
#include "engine/CNrvVideoView.h"
#include "engine/CPlaybackEngine.h"

namespace {

class CPreviewShell final : public vx::IStartupShell {
 public:
  explicit CPreviewShell(std::string path) : m_strPath(std::move(path)) {}

  void ShowMessage(const std::string& text) override {
    QMessageBox::information(nullptr, "VX-880QN", QString::fromStdString(text));
  }

  void RunMainDialog() override {
    QWidget window;
    vx::CNrvVideoView front;
    vx::CNrvVideoView rear;
    front.setFixedSize(640, 360);
    rear.setFixedSize(320, 180);
    auto* layout = new QHBoxLayout(&window);
    layout->addWidget(&front);
    layout->addWidget(&rear, 0, Qt::AlignTop);
    vx::CPlaybackEngine engine;
    engine.AttachWindows(&front, &rear);
    window.show();
    if (engine.Open(m_strPath) == 1) engine.Recording()->Run();
    QTimer tick;  // the main window's 100 ms tick: keeps the engine's messages handled
    QObject::connect(&tick, &QTimer::timeout, [&] {
      vx::RefTime position = 0;
      if (engine.Recording()) engine.Recording()->GetPosition(position);
    });
    tick.start(100);
    QApplication::exec();
  }

 private:
  std::string m_strPath;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  CPreviewShell shell(argc > 1 ? argv[1] : "");
  vx::CSettingsStore store(vx::CSettingsStore::DefaultPath());
  vx::CQuelmarApp app(store, shell);
  app.InitInstance();
  return app.ExitInstance();
}
