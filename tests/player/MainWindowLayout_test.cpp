// Where the window puts its views and controls: the swap and rear-video commands, full screen and back, and
// the paused picture after a resize.
#include <QTest>
#include <QTreeView>

#include "MainWindowFixture.h"
#include "core/player/ControlIds.h"
#include "core/player/WindowLayout.h"
#include "player/CRecordingCatalogue.h"

namespace vx::test {
namespace {

const QRect kLarge(23, 50, 640, 360);
const QRect kSmall(678, 50, 320, 240);
constexpr int kOfferRear = 286;   // the rear-video button while the front view has the large slot
constexpr int kOfferFront = 250;  // ... while the front view has the small slot

class LayoutTest : public MainWindowTest {
 protected:
  // Plays the first row and pauses it, so that nothing moves on while the test looks.
  void PauseFirstRow() {
    Click(IDC_PLAY);
    Click(IDC_PLAY);
    ASSERT_EQ(State(), EngineState::Paused);
  }
  // The views in the normal window: where each shows, an empty rectangle for a hidden one.
  void ExpectViews(QRect front, QRect rear) {
    EXPECT_EQ(Window().FrontView().isVisible() ? Window().FrontView().geometry() : QRect(), front);
    EXPECT_EQ(Window().RearView().isVisible() ? Window().RearView().geometry() : QRect(), rear);
  }
  bool RearVideoButtonOffers(int bitmap) {
    return ShowsPicture(IDC_REAR_VIDEO, bitmap, bitmap == kOfferRear ? kRearVideoSkinKey : kNormalSkinKey);
  }
};

// Which slot each picture takes is the core's rule; here the views and the rear-video button follow it.
TEST_F(LayoutTest, SwapAndRearVideoMoveTheTwoPicturesBetweenTheSlots) {
  AddRows({PathOf(kTwoStreams2s), PathOf(kOneStreamAvi2s)});
  PauseFirstRow();
  ExpectViews(kLarge, kSmall);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferRear));
  Click(IDC_SWAP);
  ExpectViews(kSmall, kLarge);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferFront));
  Click(IDC_REAR_VIDEO);
  ExpectViews(kLarge, kSmall);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferRear));
  Click(IDC_REAR_VIDEO);
  ExpectViews(kSmall, kLarge);

  // A recording with one stream after a swap: its only picture takes the large slot and the swap does nothing.
  Click(IDC_NEXT);
  ASSERT_EQ(PlayingRow(), 1);
  Click(IDC_PLAY);
  ExpectViews(kLarge, QRect());
  Click(IDC_SWAP);
  ExpectViews(kLarge, QRect());
}

// The window system gives the full-screen window the screen's size; the window lays itself out for it (the
// rectangles of other screens are the core's test).
TEST_F(LayoutTest, FullScreenFillsTheScreenAndComesBackToTheSameCorner) {
  const int W = 1024, H = 768;
  AddRows({PathOf(kTwoStreams2s)});
  PauseFirstRow();
  const QPoint corner = Window().pos();

  Click(IDC_FULL_SCREEN);
  EXPECT_TRUE(Window().isFullScreen());
  EXPECT_EQ(Window().WindowMode(), 2);
  Window().resize(W, H);
  ASSERT_TRUE(WaitUntil([&] { return Window().size() == QSize(W, H); }));
  const QRect views(65, 29, 893, 628);
  EXPECT_EQ(Window().FrontView().geometry(), views);
  EXPECT_TRUE(Window().FrontView().isVisible());
  EXPECT_FALSE(Window().RearView().isVisible());
  EXPECT_EQ(Geometry(IDC_CLOSE), QRect(W - 50, 1, 43, 18));
  EXPECT_EQ(Geometry(IDC_PLAY), QRect(W / 2 - 60, H - 60, 60, 25));
  EXPECT_FALSE(Window().Catalogue().List()->isVisible());
  EXPECT_FALSE(Window().Control(IDC_FULL_SCREEN)->isVisible());
  EXPECT_TRUE(Window().Control(IDC_NORMAL_SIZE)->isVisible());

  // The rear picture in full screen takes the same place.
  Type(Qt::Key_Tab);
  EXPECT_EQ(Window().RearView().geometry(), views);
  EXPECT_TRUE(Window().RearView().isVisible());
  EXPECT_FALSE(Window().FrontView().isVisible());
  Type(Qt::Key_Tab);

  Click(IDC_NORMAL_SIZE);
  ASSERT_TRUE(WaitUntil([&] { return Window().size() == QSize(kNormalWindowWidth, kNormalWindowHeight); }));
  EXPECT_EQ(Window().WindowMode(), 1);
  EXPECT_FALSE(Window().isFullScreen());
  EXPECT_EQ(Window().pos(), corner);
  ExpectViews(kLarge, kSmall);
  EXPECT_TRUE(RearVideoButtonOffers(kOfferRear));
  EXPECT_TRUE(Window().Catalogue().List()->isVisible());
  EXPECT_FALSE(Window().Control(IDC_NORMAL_SIZE)->isVisible());
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
  PauseFirstRow();
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

}  // namespace
}  // namespace vx::test
