// The window plays its catalogue by itself: row after row to the end, past rows that fail, around a held
// position slider, and it stops when the card goes away.
#include <QApplication>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

#include <filesystem>

#include "MainWindowFixture.h"
#include "TestMedia.h"
#include "ToolRunner.h"
#include "core/player/ControlIds.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/CTkSlider.h"

namespace vx::test {
namespace {

// The frame interval of the card maker's recordings, with room for the last frame's own length.
constexpr std::int64_t kLastPictureMarginMs = 100;

// Played through, each row runs to its last picture; a recording that opens, plays and then fails (a decoding
// error) ends like any recording: the next row plays, and after the last row the window is idle.
TEST_F(MainWindowTest, ACardPlaysRowAfterRowPastRecordingsThatFailAndThenTheWindowIsIdle) {
  AddRows({PathOf(kTwoStreams2s), PathOf(kTwoStreams3s), PathOf(kOneStreamAvi2s), PathOf(kTwoStreamsAvi2s)});
  RowsStarted started(Window());
  Click(IDC_PLAY);
  for (const int failing : {1, 3}) {
    ASSERT_TRUE(WaitUntil([&] { return PlayingRow() == failing && State() == EngineState::Running; }));
    PostDecoderError();
  }
  ASSERT_TRUE(WaitUntil([&] { return PlayingRow() == -1; })) << "still playing row " << PlayingRow();
  ExpectIdle();
  ASSERT_EQ(started.Rows(), (std::vector<int>{0, 1, 2, 3})) << "each row once, in order";
  for (const RowsStarted::Start& start : started.Starts()) {
    SCOPED_TRACE(start.row);
    EXPECT_EQ(start.totalTimeLabel, start.row == 1 ? "00:00:03" : "00:00:02");
    if (start.row == 1 || start.row == 3)
      EXPECT_LT(*start.lastPictureMs, start.durationMs - 1000) << "the error, not the end, moved the window on";
    else
      EXPECT_GE(*start.lastPictureMs, start.durationMs - kLastPictureMarginMs) << "left before its last picture";
  }
  EXPECT_EQ(Window().Catalogue().RowCount(), 4) << "the rows stay";
}

// A card folder of links to test recordings, one of them under a name that is not valid UTF-8:
//   0 a recording, 1 junk, 2 a recording whose name's bytes only the file system has.
class UnplayableRowTest : public MainWindowTest {
 protected:
  void SetUp() override {
    MainWindowTest::SetUp();
    const QString targets[] = {PathOf(kTwoStreams2s), JunkRecording(kNames[1], 4096), PathOf(kTwoStreams3s)};
    for (int row = 0; row < 3; ++row) std::filesystem::create_symlink(targets[row].toStdString(), FileOfRow(row));
    QSignalSpy searched(&Window().Catalogue(), &CRecordingCatalogue::searchFinished);
    Window().Catalogue().BeginSearch(QString::fromStdString(m_dir.Path().string()));
    ASSERT_TRUE(WaitUntil([&] { return !searched.isEmpty(); }));
    ASSERT_EQ(Window().Catalogue().RowCount(), 3);
  }
  std::string FileOfRow(int row) const { return m_dir / kNames[row]; }
  // The window's message about a row that does not play, empty while none shows.
  QString Message() {
    const auto* label = Window().findChild<QLabel*>("playMessage");
    return label && label->isVisible() ? label->text() : QString();
  }
  static constexpr const char* kNames[] = {"20261206_081500_D01.MP4", "20261206_090000_D10.MP4",
                                           "20261206_091000_\xff\xfe" "D20.MP4"};
  test::TempDir m_dir{"unplayable-row"};
};

// Chosen by itself (double-click, Previous), a row that does not play stops the window on it: the window and
// the row say so, and Previous and Next step from it; Next passes over it. The row named in no encoding plays
// by its bytes. The log line and the row kept selected are the end-to-end test's.
TEST_F(UnplayableRowTest, AChosenRowThatDoesNotPlayStopsTheWindowOnIt) {
  DoubleClickRow(1);
  EXPECT_EQ(PlayingRow(), 1) << "the window stands on the row chosen";
  EXPECT_TRUE(Window().Catalogue().IsUnplayable(1));
  EXPECT_TRUE(Message().contains(kNames[1]));

  Window().OnCommand(IDC_PREV);
  EXPECT_EQ(State(), EngineState::Running);
  EXPECT_EQ(Message(), "");
  Window().OnCommand(IDC_NEXT);
  EXPECT_EQ(PlayingRow(), 2) << "Next passes over the row that does not play";
  EXPECT_EQ(Window().Engine().Recording()->FilePath(), FileOfRow(2));
  Window().OnCommand(IDC_PREV);
  EXPECT_EQ(PlayingRow(), 1) << "Previous stops on it";
  EXPECT_EQ(State(), EngineState::Closed);
  EXPECT_NE(Message(), "");
}

// The first of two rows plays with the position slider's thumb pressed to its right end: the recording is at
// its end while the mouse button stays down. The timer then leaves the timeline alone, the slider's own moves
// still update it, and the next row follows the release.
// A front and a rear file of one moment, as the card maker's --split writes them, make one row whose pictures
// play in their own views, and a seek moves both; without its rear file the front plays alone.
TEST_F(MainWindowTest, AFrontAndARearFilePlayAsOneRowAndTheFrontPlaysAloneWithoutItsRear) {
  const QString front = PathOf({"20261206_082000_NF.MP4", "--split --seconds 2"});
  AddRows({front, QString(front).replace("_NF.MP4", "_NR.MP4")});
  ASSERT_EQ(Window().Catalogue().RowCount(), 1);
  PlayPaused();
  const auto pictures = [this] {
    std::pair<QImage, QImage> shown;
    Window().Engine().GrabFrame(0, shown.first);
    Window().Engine().GrabFrame(1, shown.second);
    return shown;
  };
  const auto [front0, rear0] = pictures();
  ASSERT_FALSE(front0.isNull() || rear0.isNull());
  EXPECT_NE(front0.size(), rear0.size()) << "the rear view shows the rear camera's smaller picture";
  Type(Qt::Key_Right);
  const auto [front1, rear1] = pictures();
  EXPECT_TRUE(front1 != front0 && rear1 != rear0) << "the seek moved both pictures";

  const std::filesystem::path alone = std::filesystem::path(front.toStdString()).replace_filename("alone_NF.MP4");
  std::filesystem::copy_file(front.toStdString(), alone, std::filesystem::copy_options::overwrite_existing);
  AddRows({QString::fromStdString(alone.string())});
  DoubleClickRow(1);  // after the pair's row
  ASSERT_EQ(LoadedPath().toStdString(), alone.string());
  QImage rear;
  EXPECT_EQ(Window().Engine().GrabFrame(1, rear), 0) << "no rear picture";
  ASSERT_TRUE(WaitUntil([&] { return PositionMs() == DurationMs(); })) << "the front plays to its end";
}

TEST_F(MainWindowTest, TheNextRowWaitsWhileTheSliderIsHeldAndFollowsItsRelease) {
  AddRows({PathOf(kTwoStreams2s), PathOf(kTwoStreams3s)});
  Click(IDC_PLAY);
  CTkSlider& slider = Slider(IDC_POSITION_SLIDER);
  const QPoint end(slider.width() - 1, slider.height() / 2);
  QTest::mousePress(&slider, Qt::LeftButton, {}, end);
  ASSERT_TRUE(WaitUntil([&] { return PositionMs() == DurationMs(); }));
  for (int drag = 0; drag < 2; ++drag) {  // away and back: each move seeks, the timeline finds the end
    QTest::mouseMove(&slider, end - QPoint(slider.width() / 4, 0));
    QCoreApplication::processEvents();
    ASSERT_LT(PositionMs(), DurationMs());
    QTest::mouseMove(&slider, end);
    ASSERT_TRUE(WaitUntil([&] { return Text(IDC_CURRENT_TIME) == "00:00:02"; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(LoadedPath(), PathOf(kTwoStreams2s));
    EXPECT_EQ(PositionMs(), DurationMs());
  }
  QTest::mouseRelease(&slider, Qt::LeftButton, {}, end);
  ASSERT_TRUE(WaitUntil([&] { return PlayingRow() == 1; }));
}

// The card that holds the playing recording goes away: playback stops as Stop does and the rows stay.
// Another volume coming or going changes nothing.
TEST_F(MainWindowTest, RemovingTheCardOfThePlayingRecordingStopsPlayback) {
  AddRows({PathOf(kTwoStreams3s), PathOf(kTwoStreamsAvi2s)});
  PlayPaused();
  m_drives.SetVolumes({CardMountPoint(), "/media/usb-stick/"});
  m_drives.SetVolumes({CardMountPoint()});
  EXPECT_EQ(State(), EngineState::Paused);

  Click(IDC_PLAY);
  ASSERT_EQ(State(), EngineState::Running);
  m_drives.SetVolumes({"/media/usb-stick/"});
  ExpectIdle();
  EXPECT_EQ(Window().Catalogue().RowCount(), 2);

  // The card back: playing starts again from the first row.
  m_drives.SetVolumes({CardMountPoint()});
  Type(Qt::Key_Space);
  EXPECT_EQ(LoadedPath(), PathOf(kTwoStreams3s));
}

}  // namespace
}  // namespace vx::test
