// The window as a user meets it: what the play and map buttons show, keys that open a dialog, Escape, a click
// on the sound button's symbol, and closing the window with a tool window open.
#include <QApplication>
#include <QTest>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "core/player/ControlIds.h"
#include "core/player/WindowLayout.h"
#include "player/CRecordingCatalogue.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx::test {
namespace {

constexpr CardRecording kTwoStreamsNoGps{"20261206_081900_D05.MP4", "--streams 2 --seconds 2 --no-telemetry"};

using UseTest = MainWindowTest;

TEST_F(UseTest, PlayButtonShowsPauseWhilePlayingAndPlayOtherwise) {
  AddRows({PathOf(kTwoStreams2s)});
  EXPECT_TRUE(ShowsPicture(IDC_PLAY, IDB_PLAY, kNormalSkinKey));
  Click(IDC_PLAY);
  ASSERT_EQ(State(), EngineState::Running);
  EXPECT_TRUE(ShowsPicture(IDC_PLAY, IDB_PAUSE, kNormalSkinKey));
  Click(IDC_PLAY);
  ASSERT_EQ(State(), EngineState::Paused);
  EXPECT_TRUE(ShowsPicture(IDC_PLAY, IDB_PLAY, kNormalSkinKey));

  Click(IDC_FULL_SCREEN);
  EXPECT_TRUE(ShowsPicture(IDC_PLAY, IDB_FULL_PLAY, kFullScreenSkinKey));
  Click(IDC_PLAY);
  EXPECT_TRUE(ShowsPicture(IDC_PLAY, IDB_FULL_PAUSE, kFullScreenSkinKey));
  Click(IDC_NORMAL_SIZE);
  EXPECT_TRUE(ShowsPicture(IDC_PLAY, IDB_PAUSE, kNormalSkinKey)) << "still playing in the normal window";
  Click(IDC_STOP);
  EXPECT_TRUE(ShowsPicture(IDC_PLAY, IDB_PLAY, kNormalSkinKey));
}

// The map buttons are enabled, in their own pictures, only for a two-stream recording with GPS fixes.
TEST_F(UseTest, MapButtonsAreGreyAndDisabledWhereTheyCannotAct) {
  AddRows({PathOf(kTwoStreams2s), PathOf(kOneStreamAvi2s), PathOf(kTwoStreamsNoGps)});
  const auto expectMapButtons = [&](bool enabled, const char* when) {
    for (auto [id, picture] : {std::pair{IDC_MAP, IDB_MAP}, {IDC_LARGE_MAP, IDB_LARGE_MAP}}) {
      EXPECT_EQ(Window().Control(id)->isEnabled(), enabled) << id << " " << when;
      EXPECT_EQ(ShowsPicture(id, picture, kNormalSkinKey), enabled) << id << " " << when;
    }
  };
  expectMapButtons(false, "with nothing loaded");
  Click(IDC_PLAY);
  expectMapButtons(true, "for two streams with GPS");
  Click(IDC_NEXT);
  ASSERT_EQ(LoadedPath(), PathOf(kOneStreamAvi2s));
  expectMapButtons(false, "for one stream");
  Click(IDC_NEXT);
  ASSERT_EQ(LoadedPath(), PathOf(kTwoStreamsNoGps));
  expectMapButtons(false, "without GPS");
  Click(IDC_STOP);
  expectMapButtons(false, "after Stop");
}

// Each key opens its dialog once, also when the list has the focus and the dialog leaves the window without
// a focused control: the key must not travel on to the window and open the dialog again.
TEST_F(UseTest, KeysThatOpenADialogOpenItOnce) {
  AddRows({PathOf(kTwoStreams2s)});
  Click(IDC_PLAY);
  Click(IDC_PLAY);
  for (const int key : {Qt::Key_F2, Qt::Key_Print}) {  // the folder and the snapshot file
    ASSERT_TRUE(Activate(Window()));
    Window().Catalogue().List()->setFocus();
    EXPECT_EQ(DismissModalOpenedBy([key] { Type(key); }), QStringList{"QFileDialog"}) << key;
  }
}

TEST_F(UseTest, EscapeLeavesFullScreenFirstThenClosesTheWindow) {
  Click(IDC_FULL_SCREEN);
  ASSERT_EQ(Window().WindowMode(), 2);
  Type(Qt::Key_Escape);
  EXPECT_EQ(Window().WindowMode(), 1);
  EXPECT_TRUE(Window().isVisible());
  EXPECT_FALSE(Window().isFullScreen());
  Type(Qt::Key_Escape);
  EXPECT_FALSE(Window().isVisible());
}

// The sound symbol has gaps between its strokes; a click there is the button's, not the start of a window
// move.
TEST_F(UseTest, TheSoundButtonTakesAClickBetweenTheStrokesOfItsSymbol) {
  const QPoint gap(8, 6);
  ASSERT_EQ(LoadSkinImage(IDB_SOUND_ON).pixel(gap) & 0xFFFFFF, 0u) << "the point lies in a gap of the picture";
  QTest::mouseClick(Window().windowHandle(), Qt::LeftButton, {}, Geometry(IDC_SOUND).topLeft() + gap);
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, IDB_SOUND_OFF, kNormalSkinKey));
}

TEST_F(UseTest, ClosingTheWindowClosesTheGraphWindowWithIt) {
  AddRows({PathOf(kTwoStreams2s)});
  Click(IDC_PLAY);
  Click(IDC_GSENSOR);
  const auto visibleWindows = [] {
    int visible = 0;
    for (QWidget* window : QApplication::topLevelWidgets()) visible += window->isVisible() ? 1 : 0;
    return visible;
  };
  ASSERT_EQ(visibleWindows(), 2) << "the main window and the graph";
  Window().close();
  EXPECT_EQ(visibleWindows(), 0);
}

}  // namespace
}  // namespace vx::test
