// The window as a user sees it: where it puts its views and controls in both modes, the pictures of its play,
// rear-video and map buttons, keys that open a dialog, and the sound button's symbol.
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

const QRect kLarge(23, 50, 640, 360);
const QRect kSmall(678, 50, 320, 240);
constexpr int kOfferRear = 286;   // the rear-video button while the front view has the large slot
constexpr int kOfferFront = 250;  // ... while the front view has the small slot
constexpr CardRecording kTwoStreamsNoGps{"20261206_081900_D05.MP4", "--streams 2 --seconds 2 --no-telemetry"};

class LayoutTest : public MainWindowTest {
 protected:
  // The views: where each shows, an empty rectangle for a hidden one.
  void ExpectViews(QRect front, QRect rear) {
    EXPECT_EQ(Window().FrontView().isVisible() ? Window().FrontView().geometry() : QRect(), front);
    EXPECT_EQ(Window().RearView().isVisible() ? Window().RearView().geometry() : QRect(), rear);
  }
  bool RearVideoButtonOffers(int bitmap) {
    return ShowsPicture(IDC_REAR_VIDEO, bitmap, bitmap == kOfferRear ? kRearVideoSkinKey : kNormalSkinKey);
  }
  bool PlayButtonShows(int bitmap) {
    return ShowsPicture(IDC_PLAY, bitmap, Window().WindowMode() == 2 ? kFullScreenSkinKey : kNormalSkinKey);
  }
};

// Which slot each picture takes and the full-screen rectangles are the core's rules; here the views and the
// buttons follow them in the normal window and in full screen, and the window comes back to its corner.
TEST_F(LayoutTest, ViewsAndButtonsFollowTheCommandsInBothModes) {
  AddRows({PathOf(kTwoStreams2s), PathOf(kOneStreamAvi2s)});
  EXPECT_TRUE(PlayButtonShows(IDB_PLAY));
  PlayPaused();
  EXPECT_TRUE(PlayButtonShows(IDB_PLAY));
  const QPoint corner = Window().pos();
  ExpectViews(kLarge, kSmall);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferRear));
  Click(IDC_SWAP);
  ExpectViews(kSmall, kLarge);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferFront));
  Click(IDC_REAR_VIDEO);
  ExpectViews(kLarge, kSmall);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferRear));

  // The window system gives the full-screen window the screen's size; the window lays itself out for it.
  Click(IDC_FULL_SCREEN);
  Window().resize(1024, 768);
  ASSERT_TRUE(WaitUntil([&] { return Window().size() == QSize(1024, 768); }));
  const QRect views(65, 29, 893, 628);
  ExpectViews(views, QRect());
  EXPECT_EQ(Window().Control(IDC_PLAY)->geometry(), QRect(1024 / 2 - 60, 768 - 60, 60, 25));
  EXPECT_FALSE(Window().Catalogue().List()->isVisible() || Window().Control(IDC_FULL_SCREEN)->isVisible());
  EXPECT_TRUE(PlayButtonShows(IDB_FULL_PLAY));
  Type(Qt::Key_Tab);
  ExpectViews(QRect(), views);
  Click(IDC_PLAY);
  EXPECT_TRUE(PlayButtonShows(IDB_FULL_PAUSE));
  Click(IDC_NORMAL_SIZE);
  ASSERT_TRUE(WaitUntil([&] { return Window().size() == QSize(kNormalWindowWidth, kNormalWindowHeight); }));
  EXPECT_TRUE(PlayButtonShows(IDB_PAUSE)) << "still playing in the normal window";
  Click(IDC_PLAY);
  EXPECT_EQ(Window().pos(), corner);
  ExpectViews(kSmall, kLarge);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferFront));
  EXPECT_TRUE(Window().Catalogue().List()->isVisible() && !Window().Control(IDC_NORMAL_SIZE)->isVisible());

  // The one-stream recording after a swap: its only picture takes the large slot and the swap does nothing.
  Click(IDC_NEXT);
  Click(IDC_SWAP);
  ExpectViews(kLarge, QRect());
  Click(IDC_STOP);
  EXPECT_TRUE(PlayButtonShows(IDB_PLAY));
}

// Mean difference of two pictures of the same size, per colour channel (0-255).
double MeanDifference(const QImage& a, const QImage& b) {
  double sum = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * a.width() * a.height());
}

QImage Shown(QWidget& view, QSize size) {
  return view.grab().toImage().convertToFormat(QImage::Format_RGB32).scaled(size, Qt::IgnoreAspectRatio,
                                                                             Qt::SmoothTransformation);
}

TEST_F(LayoutTest, AResizeWhilePausedShowsThePausedPictureAtTheNewSize) {
  AddRows({PathOf(kTwoStreams2s)});
  PlayPaused();
  CNrvVideoView& front = Window().FrontView();
  const QSize small(160, 90);
  Type(Qt::Key_Home);
  QCoreApplication::processEvents();  // the renderer hands its picture over by a queued call
  const QImage atStart = Shown(front, small);
  Type(Qt::Key_Right);
  QCoreApplication::processEvents();
  const QImage paused = Shown(front, small);
  ASSERT_GT(MeanDifference(atStart, paused), 1.0) << "the pictures at 0 s and 1 s must differ for this test";

  Click(IDC_FULL_SCREEN);
  Window().resize(1920, 1080);
  ASSERT_TRUE(WaitUntil([&] { return front.size() == QSize(1280, 720); }));
  QCoreApplication::processEvents();
  EXPECT_EQ(PositionMs(), 1000);
  EXPECT_EQ(State(), EngineState::Paused);
  const QImage resized = Shown(front, small);
  EXPECT_LT(MeanDifference(resized, paused), 4.0) << "the view shows the paused picture";
  EXPECT_GT(MeanDifference(resized, atStart), MeanDifference(resized, paused));
}

// The map buttons are enabled, in their own pictures, only for a two-stream recording with GPS fixes.
TEST_F(LayoutTest, MapButtonsAreGreyAndDisabledWhereTheyCannotAct) {
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
TEST_F(LayoutTest, KeysThatOpenADialogOpenItOnce) {
  AddRows({PathOf(kTwoStreams2s)});
  PlayPaused();
  for (const int key : {Qt::Key_F2, Qt::Key_Print}) {  // the folder and the snapshot file
    ASSERT_TRUE(Activate(Window()));
    Window().Catalogue().List()->setFocus();
    EXPECT_EQ(DismissModalOpenedBy([key] { Type(key); }), QStringList{"QFileDialog"}) << key;
  }
}

// The sound symbol has gaps between its strokes; a click there is the button's, not the start of a window
// move.
TEST_F(LayoutTest, TheSoundButtonTakesAClickBetweenTheStrokesOfItsSymbol) {
  const QPoint gap(8, 6);
  ASSERT_EQ(LoadSkinImage(IDB_SOUND_ON).pixel(gap) & 0xFFFFFF, 0u) << "the point lies in a gap of the picture";
  const QPoint at = Window().Control(IDC_SOUND)->geometry().topLeft() + gap;
  QTest::mouseClick(Window().windowHandle(), Qt::LeftButton, {}, at);
  EXPECT_TRUE(ShowsPicture(IDC_SOUND, IDB_SOUND_OFF, kNormalSkinKey));
}

}  // namespace
}  // namespace vx::test
