// Tests of the skinned slider driven with mouse and keys: positions, posted notifications, released flag, paint.
#include "widgets/CTkSlider.h"

#include <QSignalSpy>
#include <QTest>

#include <vector>

#include <gtest/gtest.h>

#include "core/widgets/ScrollCodes.h"

namespace vx {
namespace {

using Notes = std::vector<std::pair<int, int>>;  // (code, position)

class CTkSliderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_parent.resize(200, 40);
    m_slider = new CTkSlider(&m_parent);
    m_slider->setGeometry(10, 10, 90, 7);  // the volume slider
    m_slider->SetRange(0, 99);
    m_slider->InitSkin();
    m_parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_parent));
    m_spy = std::make_unique<QSignalSpy>(m_slider, &CTkSlider::HScroll);
  }
  // Notifications posted so far, once the event loop has delivered them.
  Notes Delivered() {
    QCoreApplication::processEvents();
    Notes notes;
    for (const QList<QVariant>& call : *m_spy) notes.emplace_back(call[0].toInt(), call[1].toInt());
    m_spy->clear();
    return notes;
  }
  void Key(Qt::Key key) { QTest::keyClick(m_slider, key); }
  QPoint At(int x) const { return {x, 3}; }

  QWidget m_parent;
  CTkSlider* m_slider = nullptr;
  std::unique_ptr<QSignalSpy> m_spy;
};

TEST_F(CTkSliderTest, DragTracksThePositionAndTheReleasedFlag) {
  QTest::mousePress(m_slider, Qt::LeftButton, {}, At(45));
  EXPECT_EQ(m_slider->GetPos(), 50);
  EXPECT_EQ(m_slider->IsReleased(), 0);
  EXPECT_TRUE(m_spy->isEmpty()) << "notifications are posted, not sent";
  EXPECT_EQ(Delivered(), (Notes{{TB_THUMBTRACK, 50}}));

  QTest::mouseMove(m_slider, At(45));
  QTest::mouseMove(m_slider, At(46));
  EXPECT_EQ(Delivered(), (Notes{{TB_THUMBTRACK, 52}})) << "a move within one position sends nothing";

  QTest::mouseMove(m_slider, At(300));
  QTest::mouseMove(m_slider, At(320));
  EXPECT_EQ(Delivered(), (Notes{{TB_THUMBTRACK, 99}})) << "past the end: the maximum, once";
  QTest::mouseRelease(m_slider, Qt::LeftButton, {}, At(-30));
  EXPECT_EQ(m_slider->IsReleased(), 1);
  EXPECT_FALSE(m_slider->IsDragging());
  EXPECT_EQ(Delivered(), (Notes{{TB_THUMBTRACK, 0}})) << "left of the channel: the minimum";
  EXPECT_TRUE(m_slider->hasFocus());
}

TEST_F(CTkSliderTest, PressWithoutMovingNotifiesOnlyAChange) {
  m_slider->SetPos(50);
  QTest::mouseClick(m_slider, Qt::LeftButton, {}, At(45));
  EXPECT_EQ(Delivered(), Notes{});
  QTest::mouseClick(m_slider, Qt::RightButton, {}, At(10));
  EXPECT_EQ(m_slider->GetPos(), 50) << "only the left button drags";
  EXPECT_EQ(m_slider->IsReleased(), 1);
}

TEST_F(CTkSliderTest, KeysMoveAndEndTheirTrack) {
  m_slider->setFocus();
  m_slider->SetPos(50);
  Key(Qt::Key_End);
  EXPECT_EQ(Delivered(), (Notes{{TB_BOTTOM, 99}, {TB_ENDTRACK, 99}}));
  Key(Qt::Key_PageUp);
  Key(Qt::Key_Left);
  EXPECT_EQ(Delivered(), (Notes{{TB_PAGEUP, 89}, {TB_ENDTRACK, 89}, {TB_LINEUP, 88}, {TB_ENDTRACK, 88}}));
  Key(Qt::Key_Home);
  EXPECT_EQ(Delivered(), (Notes{{TB_TOP, 0}, {TB_ENDTRACK, 0}}));
  Key(Qt::Key_PageDown);
  Key(Qt::Key_Right);
  Key(Qt::Key_Down);
  EXPECT_EQ(Delivered(), (Notes{{TB_PAGEDOWN, 10}, {TB_ENDTRACK, 10}, {TB_LINEDOWN, 11}, {TB_ENDTRACK, 11},
                               {TB_LINEDOWN, 12}, {TB_ENDTRACK, 12}}));
  Key(Qt::Key_A);
  EXPECT_EQ(Delivered(), Notes{});
}

TEST_F(CTkSliderTest, HeldKeyRepeatsMovesButEndsOnce) {
  m_slider->setFocus();
  QTest::keyPress(m_slider, Qt::Key_Right);
  QTest::sendKeyEvent(QTest::Press, m_slider, Qt::Key_Right, QString(), Qt::NoModifier);
  QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(m_slider, &repeatRelease);
  QTest::keyRelease(m_slider, Qt::Key_Right);
  EXPECT_EQ(Delivered(), (Notes{{TB_LINEDOWN, 1}, {TB_LINEDOWN, 2}, {TB_ENDTRACK, 2}}));
}

// A message box or another window taking over mid-drag: the release never comes to the slider.
TEST_F(CTkSliderTest, DragEndsWhenAnotherWindowTakesTheMouse) {
  QTest::mousePress(m_slider, Qt::LeftButton, {}, At(45));
  ASSERT_TRUE(m_slider->IsDragging());
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_EQ(m_slider->IsReleased(), 1);
  EXPECT_FALSE(m_slider->IsDragging());
  EXPECT_EQ(m_slider->GetPos(), 50) << "the position of the last move stays";
  QTest::mouseRelease(m_slider, Qt::LeftButton, {}, At(45));  // the test's own mouse lets go as well
}

TEST_F(CTkSliderTest, DragEndsAtAMoveWithoutTheButtonHeld) {
  QTest::mousePress(m_slider, Qt::LeftButton, {}, At(45));
  ASSERT_TRUE(m_slider->IsDragging());
  Delivered();
  QMouseEvent move(QEvent::MouseMove, QPointF(At(80)), m_slider->mapToGlobal(QPointF(At(80))), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(m_slider, &move);
  EXPECT_EQ(m_slider->IsReleased(), 1);
  EXPECT_FALSE(m_slider->IsDragging());
  EXPECT_EQ(m_slider->GetPos(), 50) << "a move after the lost release does not drag";
  EXPECT_EQ(Delivered(), Notes{});
  QTest::mouseRelease(m_slider, Qt::LeftButton, {}, At(80));
}

TEST_F(CTkSliderTest, PositionStaysWithinTheRange) {
  m_slider->SetPos(150);
  EXPECT_EQ(m_slider->GetPos(), 99);
  m_slider->SetRange(10, 5);
  EXPECT_EQ(m_slider->GetRangeMax(), 10);
  EXPECT_EQ(m_slider->GetPos(), 10);
}

TEST_F(CTkSliderTest, SliderWithoutParentSendsNothing) {
  CTkSlider orphan;
  orphan.resize(90, 7);
  orphan.SetRange(0, 99);
  QSignalSpy spy(&orphan, &CTkSlider::HScroll);
  QTest::keyClick(&orphan, Qt::Key_End);
  QCoreApplication::processEvents();
  EXPECT_EQ(orphan.GetPos(), 99);
  EXPECT_TRUE(spy.isEmpty());
}

// The window skins its sliders before it lays them out; the thumb must stand on the slider all the same, where
// its position puts it (the light-grey face lies between the thumb's one-pixel dark frame).
TEST(CTkSliderSkin, ThumbFollowsThePositionWhenSkinnedBeforeLayout) {
  struct Case {
    int width;
    int maximum;
    int position;
    int thumbX;
  };
  const Case cases[] = {{90, 99, 50, 37}, {502, 10'000, 6'000, 291}};  // the volume; a 10 s timeline at 6 s
  for (const Case& c : cases) {
    QWidget parent;
    parent.resize(520, 30);
    auto* slider = new CTkSlider(&parent);
    slider->InitSkin();
    slider->setGeometry(5, 10, c.width, 7);
    slider->SetRange(0, c.maximum);
    slider->SetPos(c.position);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
    const QImage picture = slider->grab().toImage();
    std::vector<int> face;
    for (int x = 0; x < picture.width(); ++x) {
      if (QColor(picture.pixel(x, 2)).lightness() > 150) face.push_back(x);
    }
    ASSERT_EQ(face.size(), 13u) << c.width << " at " << c.position;
    EXPECT_EQ(face.front(), c.thumbX + 1) << c.width << " at " << c.position;
    EXPECT_EQ(QColor(picture.pixel(c.thumbX + 7, 3)), QColor(255, 114, 0)) << "the thumb's orange line";
    EXPECT_EQ(QColor(picture.pixel(c.thumbX + 16, 3)), QColor(250, 255, 0)) << "the channel's middle row beside it";
  }
}

TEST(CTkSliderSkin, ShowsItsParentUntilItsSkinIsSet) {
  QWidget parent;
  parent.resize(120, 30);
  parent.setAutoFillBackground(true);
  QPalette palette = parent.palette();
  palette.setColor(QPalette::Window, QColor(200, 30, 30));
  parent.setPalette(palette);
  auto* slider = new CTkSlider(&parent);
  slider->setGeometry(10, 10, 90, 7);
  parent.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));
  QImage expected(90, 7, QImage::Format_RGB32);
  expected.fill(QColor(200, 30, 30));
  EXPECT_EQ(parent.grab(QRect(10, 10, 90, 7)).toImage().convertToFormat(QImage::Format_RGB32), expected);
}

}  // namespace
}  // namespace vx
