// The desktop side of start-up: message boxes, and the main window run until it closes.
#pragma once

#include "app/CQuelmarApp.h"
#include "app/CommandLine.h"
#include "engine/CStartupRecording.h"

namespace vx {

class CViewerShell final : public IStartupShell {
 public:
  // `startup` (may be null) is the command line's recording already opening; the window takes it.
  explicit CViewerShell(PlayerCommandLine line, std::shared_ptr<CStartupRecording> startup = nullptr)
      : m_line(std::move(line)), m_pStartup(std::move(startup)) {}

  void ShowMessage(const std::string& text) override;
  // Shows the main window, lists the command line's folders and files, plays the first row, and
  // returns when the window closes (or once the asked-for screenshot is written).
  void RunMainDialog() override;

  // 0, or 1 when an asked-for screenshot could not be written or --quit-at-end found nothing to play.
  int ExitStatus() const { return m_nExitStatus; }

 private:
  void TakeScreenshotWhenShown(class CQuelmarDlg& window);
  void PrintFirstPictureTime(CQuelmarDlg& window);
  void EndWhenPlayedThrough(CQuelmarDlg& window);
  void EndAfterPlaying(CQuelmarDlg& window);

  PlayerCommandLine m_line;
  std::shared_ptr<CStartupRecording> m_pStartup;
  int m_nExitStatus = 0;
  int m_nWaitedMs = 0;
};

}  // namespace vx
