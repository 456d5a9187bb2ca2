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
    m_slider->InitSkin();  // before its layout, as the window does
    m_slider->setGeometry(10, 10, 90, 7);  // the volume slider
    m_slider->SetRange(0, 99);
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
  QPoint At(int x) const { return {x, 3}; }

  QWidget m_parent;
  CTkSlider* m_slider = nullptr;
  std::unique_ptr<QSignalSpy> m_spy;
};

TEST_F(CTkSliderTest, DragTracksThePositionAndTheReleasedFlag) {
  QTest::mouseClick(m_slider, Qt::RightButton, {}, At(45));
  EXPECT_EQ(m_slider->GetPos(), 0) << "only the left button drags";
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
  QTest::mouseClick(m_slider, Qt::LeftButton, {}, At(2));
  EXPECT_EQ(Delivered(), Notes{}) << "a click at the position it already has";
}

// Up and Down move as Left and Right, a held key ends its track once; a slider without a parent moves but
// posts nothing.
TEST_F(CTkSliderTest, KeysMoveAndEndTheirTrack) {
  m_slider->setFocus();
  m_slider->SetPos(50);
  const std::tuple<Qt::Key, int, int> keys[] = {
      {Qt::Key_End, TB_BOTTOM, 99},     {Qt::Key_PageUp, TB_PAGEUP, 89},   {Qt::Key_Left, TB_LINEUP, 88},
      {Qt::Key_Up, TB_LINEUP, 87},      {Qt::Key_Home, TB_TOP, 0},         {Qt::Key_PageDown, TB_PAGEDOWN, 10},
      {Qt::Key_Right, TB_LINEDOWN, 11}, {Qt::Key_Down, TB_LINEDOWN, 12},
  };
  for (const auto& [key, code, position] : keys) {
    QTest::keyClick(m_slider, key);
    EXPECT_EQ(Delivered(), (Notes{{code, position}, {TB_ENDTRACK, position}})) << key;
  }
  QTest::keyClick(m_slider, Qt::Key_A);
  EXPECT_EQ(Delivered(), Notes{});
  QTest::keyPress(m_slider, Qt::Key_Right);
  QTest::sendKeyEvent(QTest::Press, m_slider, Qt::Key_Right, QString(), Qt::NoModifier);
  QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_Right, Qt::NoModifier, QString(), true);
  QCoreApplication::sendEvent(m_slider, &repeatRelease);
  QTest::keyRelease(m_slider, Qt::Key_Right);
  EXPECT_EQ(Delivered(), (Notes{{TB_LINEDOWN, 13}, {TB_LINEDOWN, 14}, {TB_ENDTRACK, 14}})) << "held";

  CTkSlider orphan;
  orphan.SetRange(0, 99);
  QSignalSpy orphanSpy(&orphan, &CTkSlider::HScroll);
  QTest::keyClick(&orphan, Qt::Key_End);
  QCoreApplication::processEvents();
  EXPECT_EQ(orphan.GetPos(), 99);
  EXPECT_TRUE(orphanSpy.isEmpty());
}

// The release never comes to the slider when a move arrives with the button up, or a message box or another
// window takes the mouse mid-drag: the drag ends where it stands.
TEST_F(CTkSliderTest, ADragWhoseReleaseIsLostEnds) {
  QTest::mousePress(m_slider, Qt::LeftButton, {}, At(45));
  Delivered();
  QMouseEvent move(QEvent::MouseMove, QPointF(At(80)), m_slider->mapToGlobal(QPointF(At(80))), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(m_slider, &move);
  EXPECT_EQ(m_slider->IsReleased(), 1);
  EXPECT_EQ(m_slider->GetPos(), 50) << "a move after the lost release does not drag";
  EXPECT_EQ(Delivered(), Notes{});
  QTest::mouseRelease(m_slider, Qt::LeftButton, {}, At(80));

  QTest::mousePress(m_slider, Qt::LeftButton, {}, At(45));
  ASSERT_TRUE(m_slider->IsDragging());
  QWidget other;
  other.show();
  other.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
  EXPECT_EQ(m_slider->IsReleased(), 1);
  EXPECT_FALSE(m_slider->IsDragging());
  QTest::mouseRelease(m_slider, Qt::LeftButton, {}, At(45));  // the test's own mouse lets go as well
}

TEST_F(CTkSliderTest, PositionStaysWithinTheRange) {
  m_slider->SetPos(150);
  EXPECT_EQ(m_slider->GetPos(), 99);
  m_slider->SetRange(10, 5);
  EXPECT_EQ(std::pair(m_slider->GetRangeMax(), m_slider->GetPos()), std::pair(10, 10));
}

// Until its skin is set a slider shows its parent. Skinned before its layout, the thumb stands on the slider
// all the same, where its position puts it (the light-grey face lies between the thumb's one-pixel dark frame).
TEST_F(CTkSliderTest, ShowsItsParentUntilSkinnedAndThenItsThumbWhereItsPositionPutsIt) {
  m_parent.setAutoFillBackground(true);
  QPalette palette = m_parent.palette();
  palette.setColor(QPalette::Window, QColor(200, 30, 30));
  m_parent.setPalette(palette);
  auto* bare = new CTkSlider(&m_parent);
  bare->setGeometry(10, 20, 90, 7);
  bare->show();
  QImage red(90, 7, QImage::Format_RGB32);
  red.fill(QColor(200, 30, 30));
  EXPECT_EQ(m_parent.grab(bare->geometry()).toImage().convertToFormat(QImage::Format_RGB32), red);

  m_slider->SetPos(50);
  const QImage picture = m_slider->grab().toImage();
  std::vector<int> face;
  for (int x = 0; x < picture.width(); ++x) {
    if (QColor(picture.pixel(x, 2)).lightness() > 150) face.push_back(x);
  }
  constexpr int kThumbX = 37;
  ASSERT_EQ(face.size(), 13u);
  EXPECT_EQ(face.front(), kThumbX + 1);
  EXPECT_EQ(QColor(picture.pixel(kThumbX + 7, 3)), QColor(255, 114, 0)) << "the thumb's orange line";
  EXPECT_EQ(QColor(picture.pixel(kThumbX + 16, 3)), QColor(250, 255, 0)) << "the channel's middle row beside it";
}

}  // namespace
}  // namespace vx
