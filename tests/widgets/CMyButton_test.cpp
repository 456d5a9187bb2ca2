// Tests of the skinned button (size and shape from its picture, state pictures, mouse-over, the grey look) and
// of moving a window by its client area, which a button's shape keeps clear of.
#include "widgets/CMyButton.h"

#include <QMouseEvent>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include "widgets/CClientDrag.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

// A 30 x 30 picture in the key colour black, opaque with colour in `opaque`.
QImage Picture(QRgb colour, QRect opaque = {1, 1, 28, 28}) {
  QImage image(30, 30, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter(&image).fillRect(opaque, QColor(colour));
  return image;
}

class CMyButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_parent.resize(200, 200);
    m_button = new CMyButton(&m_parent);
    m_button->setGeometry(10, 10, 50, 50);
    m_parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_parent));
  }
  // Gives the button its normal picture and one for both pressed and mouse-over (the others missing).
  void Wear(const QImage& normal, const QImage& hot = {}) {
    m_button->SetStateBitmaps({normal, hot, {}, {}, hot}, kKeyBlack);
  }
  // The child under a point of the button, as mouse clicks find it.
  bool Hits(int x, int y) { return m_parent.childAt(m_button->pos() + QPoint(x, y)) == m_button; }

  QWidget m_parent;
  CMyButton* m_button = nullptr;
};

// The picture's key colour is never painted, yet a click anywhere in the box around the shape reaches the
// button: a hole in a symbol does not pass the click on to the window, which would start moving itself.
// A button laid out of the way at zero size keeps it through state changes and takes its shape when placed.
TEST_F(CMyButtonTest, TakesThePicturesSizeAndItsShapeTakesTheClicks) {
  QImage ring = Picture(qRgb(90, 90, 90), {5, 5, 20, 20});  // a symbol without a plate: a hole in the middle
  QPainter(&ring).fillRect(12, 12, 6, 6, Qt::black);
  Wear(ring);
  EXPECT_EQ(m_button->size(), QSize(30, 30));
  EXPECT_EQ((std::array{Hits(15, 15), Hits(5, 5), Hits(2, 2), Hits(27, 15)}),
            (std::array{true, true, false, false})) << "the hole and the shape take clicks, the margin does not";
  const QImage shot = m_parent.grab().toImage();
  const QPoint origin = m_button->pos();
  EXPECT_EQ(QColor(shot.pixel(origin + QPoint(15, 15))), m_parent.palette().color(QPalette::Window)) << "unpainted hole";
  EXPECT_EQ(QColor(shot.pixel(origin + QPoint(6, 6))), QColor(90, 90, 90));

  m_button->resize(0, 0);
  Wear(Picture(qRgb(90, 90, 90)));
  m_button->setEnabled(false);
  m_button->setEnabled(true);
  EXPECT_EQ(m_button->size(), QSize(0, 0));
  m_button->setGeometry(10, 10, 50, 50);
  EXPECT_EQ(m_button->size(), QSize(30, 30));
  Wear(Picture(qRgb(0, 0, 0), {}));
  EXPECT_FALSE(Hits(15, 15)) << "an all-key picture leaves nothing to click";
}

// Pressed by the mouse, by the program or by an animated click, the button takes the pressed picture's shape.
TEST_F(CMyButtonTest, PressedPictureOfAnotherShapeReshapesWhileHeld) {
  Wear(Picture(qRgb(90, 90, 90)), Picture(qRgb(200, 120, 0), {0, 0, 15, 30}));  // pressed: the left half
  QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 15));
  EXPECT_EQ(m_button->CurrentSlot(), kSlotPressed);
  EXPECT_FALSE(Hits(25, 15)) << "the right half is cut away while pressed";
  EXPECT_EQ(QColor(m_button->grab().toImage().pixel(5, 15)), QColor(200, 120, 0)) << "the pressed picture";
  QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 15));
  EXPECT_EQ(m_button->CurrentSlot(), kSlotNormal);
  EXPECT_TRUE(Hits(25, 15));

  m_button->setDown(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Hits(25, 15); }, 1000)) << "pressed shape after setDown(true)";
  m_button->setDown(false);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Hits(25, 15); }, 1000)) << "normal shape after setDown(false)";
  m_button->animateClick();
  EXPECT_FALSE(Hits(25, 15)) << "pressed shape as the animated click starts";
  EXPECT_TRUE(QTest::qWaitFor([&] { return Hits(25, 15); }, 1000)) << "normal shape once it is released";
}

TEST_F(CMyButtonTest, MouseOverFollowsHoverAndLeaveAndIsClearedByNewPictures) {
  const auto hover = [&] {
    QTest::mouseMove(&m_parent, QPoint(150, 150));  // a move to where the cursor already is would be dropped
    QTest::mouseMove(m_button, QPoint(15, 15));
    return QTest::qWaitFor([&] { return m_button->IsMouseOver(); }, 1000);
  };
  Wear(Picture(qRgb(90, 90, 90)), Picture(qRgb(250, 140, 40)));
  ASSERT_TRUE(hover());
  EXPECT_EQ(m_button->CurrentSlot(), kSlotMouseOver);
  QTest::mouseMove(&m_parent, QPoint(150, 150));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !m_button->IsMouseOver(); }, 1000));
  EXPECT_EQ(m_button->CurrentSlot(), kSlotNormal);

  ASSERT_TRUE(hover());
  Wear(Picture(qRgb(90, 90, 90)), Picture(qRgb(250, 140, 40)));
  EXPECT_FALSE(m_button->IsMouseOver());
}

// A disabled skin button looks grey, in the same shape, and goes back to its picture when enabled again.
TEST_F(CMyButtonTest, DisabledSkinButtonIsGreyInItsShape) {
  m_button->SetBitmaps(IDB_MAP, IDB_MAP_HOT, IDB_MAP_HOT, kKeyBlack);
  const QImage enabled = m_button->grab().toImage();
  m_button->setEnabled(false);
  EXPECT_EQ(m_button->CurrentSlot(), kSlotDisabled);
  const QImage disabled = m_button->grab().toImage();
  ASSERT_EQ(disabled.size(), enabled.size());
  int changed = 0, coloured = 0;
  for (int y = 0; y < disabled.height(); ++y) {
    for (int x = 0; x < disabled.width(); ++x) {
      if (enabled.pixel(x, y) == disabled.pixel(x, y)) continue;
      ++changed;
      coloured += QColor(disabled.pixel(x, y)).saturation() != 0 ? 1 : 0;
    }
  }
  EXPECT_EQ(coloured, 0);
  EXPECT_GT(changed, disabled.width() * disabled.height() / 2);
  m_button->setEnabled(true);
  EXPECT_EQ(m_button->grab().toImage(), enabled);
}

// Stands in for the window system: counts the moves handed to it.
class CCountingDrag : public CClientDrag {
 public:
  using CClientDrag::CClientDrag;
  int m_nSystemMoves = 0;

 protected:
  bool StartSystemMove() override { return ++m_nSystemMoves > 0; }  // taken by the window system
};

// A quick tap hands nothing to the window system: a move started with the button already up leaves the
// window stuck to the pointer. A motion with the button held starts one, once; a refused point never does.
TEST(CClientDrag, TheWindowSystemMovesOnlyOnceThePointerMovesWithTheButtonHeld) {
  QWidget window;
  window.setGeometry(100, 100, 200, 150);
  auto* drag = new CCountingDrag(&window, [](QPoint at) { return at.x() < 100; });
  const auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButtons held) {
    const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent event(type, at, window.mapToGlobal(at), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &event);
  };
  send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {20, 20}, Qt::NoButton);
  send(QEvent::MouseMove, {40, 30}, Qt::NoButton);
  EXPECT_EQ(drag->m_nSystemMoves, 0) << "a tap";

  send(QEvent::MouseButtonPress, {120, 20}, Qt::LeftButton);
  send(QEvent::MouseMove, {130, 30}, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, {130, 30}, Qt::NoButton);
  EXPECT_EQ(drag->m_nSystemMoves, 0) << "a press where the window refuses";

  send(QEvent::MouseButtonPress, {20, 20}, Qt::LeftButton);
  send(QEvent::MouseMove, {21, 20}, Qt::LeftButton);
  send(QEvent::MouseMove, {30, 25}, Qt::LeftButton);
  EXPECT_EQ(drag->m_nSystemMoves, 1);
}

}  // namespace
}  // namespace vx
