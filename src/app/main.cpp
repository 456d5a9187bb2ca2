// vx880-player: start-up, then, until the main window arrives, a plain window whose two views play the
// recording named on the command line; `--screenshot FILE.png --after SECONDS` saves the window and ends.
#include <QApplication>
#include <QHBoxLayout>
#include <QMessageBox>
#include <QTimer>

#include "app/CQuelmarApp.h"
#include "engine/CNrvVideoView.h"
#include "engine/CPlaybackEngine.h"

namespace {

// What the command line asks: the recording to play, and optionally a screenshot of the window
// `--after` seconds after start (`--screenshot FILE.png --after SECONDS`), after which the viewer ends.
struct CommandLine {
  std::string recording;
  QString screenshot;
  double afterSeconds = 0.0;
};

CommandLine ReadCommandLine(const QStringList& arguments) {
  CommandLine line;
  for (qsizetype i = 1; i < arguments.size(); ++i) {
    const bool hasValue = i + 1 < arguments.size();
    if (arguments[i] == "--screenshot" && hasValue) line.screenshot = arguments[++i];
    else if (arguments[i] == "--after" && hasValue) line.afterSeconds = arguments[++i].toDouble();
    else line.recording = arguments[i].toStdString();
  }
  return line;
}

class CPreviewShell final : public vx::IStartupShell {
 public:
  explicit CPreviewShell(CommandLine line) : m_line(std::move(line)) {}

  // 0, or 1 when an asked-for screenshot could not be written.
  int ExitStatus() const { return m_nExitStatus; }

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
    if (engine.Open(m_line.recording) == 1) engine.Recording()->Run();
    QTimer tick;  // the main window's 100 ms tick: keeps the engine's messages handled
    QObject::connect(&tick, &QTimer::timeout, [&] {
      vx::RefTime position = 0;
      if (engine.Recording()) engine.Recording()->GetPosition(position);
    });
    tick.start(100);
    if (!m_line.screenshot.isEmpty()) {
      QTimer::singleShot(static_cast<int>(m_line.afterSeconds * 1000), [&] {
        m_nExitStatus = window.grab().save(m_line.screenshot, "PNG") ? 0 : 1;
        QApplication::exit(m_nExitStatus);
      });
    }
    QApplication::exec();
  }

 private:
  CommandLine m_line;
  int m_nExitStatus = 0;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  CPreviewShell shell(ReadCommandLine(QApplication::arguments()));
  vx::CSettingsStore store(vx::CSettingsStore::DefaultPath());
  vx::CQuelmarApp app(store, shell);
  app.InitInstance();
  const int status = app.ExitInstance();
  return status != 0 ? status : shell.ExitStatus();
}
