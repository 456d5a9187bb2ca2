// Runs the main window for the start-up steps, with the command line's recordings and screenshot.
#include "app/CViewerShell.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <cstdio>
#include <ctime>

#include "core/common/DataFolder.h"
#include "app/TextTableFiles.h"
#include "player/CQuelmarDlg.h"
#include "player/CRecordingCatalogue.h"
#include "settings/CLinuxDriveList.h"

namespace vx {
namespace {

// Longest wait for a first front picture before a screenshot is taken all the same.
constexpr int kFirstPictureLimitMs = 10'000;
constexpr int kPollMs = 10;

}  // namespace

void CViewerShell::ShowMessage(const std::string& text) {
  QMessageBox::information(nullptr, kWindowTitle, QString::fromStdString(text));
}

void CViewerShell::RunMainDialog() {
  CLinuxDriveList drives;
  CQuelmarDlg window(drives, FindTextTable(DataFolder()));
  window.OnInitDialog([this](const QString& text) { ShowMessage(text.toStdString()); });
  if (m_pStartup) window.Engine().TakeStartupRecording(std::move(m_pStartup));
  window.show();
  if (m_line.fullScreen) window.ToggleFullScreen();
  window.SetSpeedStep(m_line.speedStep);
  if (m_line.quitAtEnd) EndWhenPlayedThrough(window);
  if (m_line.timeFirstPicture) PrintFirstPictureTime(window);
  // Listing may open the modal "Search Files" box. It runs inside exec(), so that the end the screenshot
  // asks for ends exec() and is not spent on the box's own loop before exec() has begun.
  QTimer::singleShot(0, &window, [this, &window] {
    if (!m_line.paths.isEmpty()) {
      window.Catalogue().AddPaths(m_line.paths);
      window.PlayPause();
    }
    // An empty list plays nothing, so it never plays through either.
    if (m_line.quitAtEnd && window.Catalogue().RowCount() == 0) EndAfterPlaying(window);
    if (!m_line.screenshot.isEmpty()) TakeScreenshotWhenShown(window);
  });
  QApplication::exec();
}

// The program ends with status 0 once the last row has played to its end, so that a whole run can be timed
// from outside; with nothing to play it ends at once with status 1.
void CViewerShell::EndWhenPlayedThrough(CQuelmarDlg& window) {
  QObject::connect(&window, &CQuelmarDlg::playedThrough, &window, [this, &window] { EndAfterPlaying(window); });
}

void CViewerShell::EndAfterPlaying(CQuelmarDlg& window) {
  m_nExitStatus = window.Catalogue().RowCount() > 0 ? 0 : 1;
  if (m_nExitStatus != 0) std::fprintf(stderr, "vx880-player: nothing to play\n");
  window.close();
  QApplication::exit(m_nExitStatus);
}

// The moment is taken once the painted picture has gone to the screen, after the paint that drew it, so that
// a whole start can be timed from outside against any other player's.
void CViewerShell::PrintFirstPictureTime(CQuelmarDlg& window) {
  QObject::connect(
      &window.FrontView(), &CNrvVideoView::pictureShown, &window,
      [this, &window] {
        QTimer::singleShot(0, &window, [this, &window] {
          timespec now{};
          clock_gettime(CLOCK_MONOTONIC, &now);
          std::printf("first front picture on screen at %lld.%06ld ms\n",
                      static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1'000'000, now.tv_nsec % 1'000'000);
          std::fflush(stdout);
          m_nExitStatus = 0;
          window.close();
          QApplication::exit(0);
        });
      },
      Qt::SingleShotConnection);
}

// Once the command line's recordings are listed: waits for the front view's first picture (when a recording
// plays; giving up after a while), then the asked-for seconds, then writes the window as a PNG and ends the
// program.
void CViewerShell::TakeScreenshotWhenShown(CQuelmarDlg& window) {
  auto* poll = new QTimer(&window);
  QObject::connect(poll, &QTimer::timeout, &window, [this, &window, poll] {
    m_nWaitedMs += kPollMs;
    const CRecordingGraph* recording = window.Engine().Recording();
    const bool waitingForPicture = recording && recording->HasGraph() && window.FrontView().Frame().IsNull();
    if (waitingForPicture && m_nWaitedMs < kFirstPictureLimitMs) return;
    poll->stop();
    QTimer::singleShot(m_line.afterMs, &window, [this, &window] {
      const bool saved = window.grab().save(m_line.screenshot, "PNG");
      if (!saved) std::fprintf(stderr, "vx880-player: cannot write %s\n", qPrintable(m_line.screenshot));
      m_nExitStatus = saved ? 0 : 1;
      window.close();
      QApplication::exit(m_nExitStatus);
    });
  });
  poll->start(kPollMs);
}

}  // namespace vx
