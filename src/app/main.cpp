// vx880-player: start-up, the main window on the folders and files named on the command line.
#include <QApplication>

#include <cstdio>

#include "app/CViewerShell.h"
#include "app/StartupRecording.h"
#include "views/WebEngineSetup.h"

int main(int argc, char** argv) {
  // A recording named by itself starts opening at once, on its own thread, while Qt and the window start.
  std::shared_ptr<vx::CStartupRecording> startup = vx::StartRecordingNamedAlone(argc, argv);
  vx::PrepareWebEngine();
  QApplication application(argc, argv);
  QGuiApplication::setDesktopFileName("org.vx880.viewer");
  QString error;
  std::optional<vx::PlayerCommandLine> line = vx::ReadPlayerCommandLine(QApplication::arguments(), error);
  if (!line) {
    std::fprintf(stderr, "vx880-player: %s\n%s", qPrintable(error), vx::kPlayerUsage);
    return 2;
  }
  if (line->help || line->version) {
    std::printf("%s", line->help ? vx::kPlayerUsage : "vx880-player " VX_VERSION "\n");
    return 0;
  }
  std::fprintf(stderr, "%s", qPrintable(vx::DropMissingPaths(*line)));
  vx::CViewerShell shell(*line, std::move(startup));
  vx::CSettingsStore store(vx::CSettingsStore::DefaultPath());
  vx::CQuelmarApp app(store, shell);
  app.InitInstance();
  const int status = app.ExitInstance();
  return status != 0 ? status : shell.ExitStatus();
}
