// The real main window on the offscreen platform, with a fake drive list, and the recordings it plays.
#pragma once

#include <gtest/gtest.h>

#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "CFakeDriveList.h"
#include "player/CQuelmarDlg.h"

namespace vx {
class CTkSlider;
}

namespace vx::test {

// A recording the card maker writes once into the test media folder, named as the camera names its files so
// that the catalogue's order is the order of the names.
struct CardRecording {
  const char* name;
  const char* options;
};
inline constexpr CardRecording kTwoStreams2s{"20261206_081500_D01.MP4", "--streams 2 --seconds 2"};
inline constexpr CardRecording kTwoStreams3s{"20261206_081600_D02.MP4", "--streams 2 --seconds 3"};
inline constexpr CardRecording kOneStreamAvi2s{"20261206_081700_E03.AVI", "--streams 1 --seconds 2"};
inline constexpr CardRecording kTwoStreamsAvi2s{"20261206_081800_P04.AVI", "--streams 2 --seconds 2"};

// The recording's full path.
QString PathOf(const CardRecording& recording);
// A file named like a recording that holds no recording (`bytes` of junk, possibly none); name it so that it
// sorts after every CardRecording above.
QString JunkRecording(const std::string& name, std::size_t bytes);
// The folder that stands for the card's mount point: it holds the media folder.
QString CardMountPoint();

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  CQuelmarDlg& Window() { return *m_pWindow; }
  // Adds the files as a drop does; the rows are sorted by file name.
  void AddRows(const QStringList& paths);
  // Runs the event loop until `done` holds; false when it still does not after `limitMs` (a hang guard,
  // never a measure of time).
  static bool WaitUntil(const std::function<bool()>& done, int limitMs = 60'000);
  // Shows a top-level window and makes it the active one, the main window's focus going with it.
  static bool Activate(QWidget& window);
  // Runs `action` and closes each modal dialog it opens; their class names.
  static QStringList DismissModalOpenedBy(const std::function<void()>& action);
  // Types a key where the window system delivers it: the focused widget, else the active window.
  static void Type(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
  void Click(int id);
  // Plays the selected (else the first) row and pauses it, so that nothing moves on while the test looks.
  void PlayPaused();
  QString Text(int id) const { return m_pWindow->ControlText(id); }
  CTkSlider& Slider(int id) const;
  int PlayingRow() const;
  // The loaded recording's file, empty when none.
  QString LoadedPath() const;
  EngineState State() const;
  // The loaded recording's position and duration in milliseconds.
  std::int64_t PositionMs() const;
  std::int64_t DurationMs() const;
  // Double-clicks the row in the list, after the first click a double-click follows.
  void DoubleClickRow(int row);
  // The same for any row of the list's model, a child row of the trips view too.
  void DoubleClickIndex(const QModelIndex& index);
  // Selects exactly these rows of the list.
  void SelectRows(const std::vector<int>& rows);
  std::vector<int> SelectedRows() const;
  // Whether the skinned button shows the skin picture `bitmapId`: every pixel of the picture but those of the
  // key colour (0x00BBGGRR).
  bool ShowsPicture(int buttonId, int bitmapId, std::uint32_t key) const;
  // Posts an error from the loaded recording's front decoder, as a decoder does on damaged data.
  void PostDecoderError();
  // Idle: nothing loaded, no playing row, timer off, "Play", both views hidden, labels and slider at zero.
  void ExpectIdle();

  CFakeDriveList m_drives{{CardMountPoint()}};
  std::unique_ptr<CQuelmarDlg> m_pWindow;
  QStringList m_messages;  // message boxes the window asked for
};

// Every recording the window starts while this lives, in order: its row, what the window showed for it, and
// the latest picture time its front renderer was given (read it once the recording is gone).
class RowsStarted {
 public:
  struct Start {
    int row;
    QString totalTimeLabel;
    std::int64_t durationMs;
    std::shared_ptr<std::atomic<std::int64_t>> lastPictureMs;
  };

  explicit RowsStarted(CQuelmarDlg& window);
  const std::vector<Start>& Starts() const { return m_starts; }
  std::vector<int> Rows() const;

 private:
  std::vector<Start> m_starts;
  QObject m_connections;  // the list's updates reach this object only while it lives
};

}  // namespace vx::test
