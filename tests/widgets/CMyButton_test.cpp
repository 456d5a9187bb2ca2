// Tests of the skinned button: size and shape from its picture, state pictures, mouse-over and the skin IDs.
#include "widgets/CMyButton.h"

#include <QTest>

#include <gtest/gtest.h>

#include "widgets/SkinIds.h"

namespace vx {
namespace {

// A size x size picture of colour with its four corner pixels in the key colour black.
QImage Rounded(int size, QRgb colour) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(colour);
  for (const QPoint corner : {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)}) {
    image.setPixel(corner, qRgb(0, 0, 0));
  }
  return image;
}

// A picture whose left half only is opaque.
QImage LeftHalf(int size, QRgb colour) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size / 2; ++x) image.setPixel(x, y, colour);
  }
  return image;
}

// A size x size black picture with an opaque square ring of colour: a margin of 5 pixels all round and a hole
// in the middle, as a symbol drawn without a plate has.
QImage Ring(int size, QRgb colour) {
  QImage image(size, size, QImage::Format_RGB32);
  image.fill(Qt::black);
  for (int y = 5; y < size - 5; ++y) {
    for (int x = 5; x < size - 5; ++x) image.setPixel(x, y, colour);
  }
  for (int y = 12; y < size - 12; ++y) {
    for (int x = 12; x < size - 12; ++x) image.setPixel(x, y, qRgb(0, 0, 0));
  }
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
  // The child under a point of the button, as mouse clicks find it.
  bool Hits(int x, int y) { return m_parent.childAt(m_button->pos() + QPoint(x, y)) == m_button; }

  QWidget m_parent;
  CMyButton* m_button = nullptr;
};

// The picture's key colour is never painted, yet a click anywhere in the box around the shape reaches the
// button: a hole in a symbol does not pass the click on to the window, which would start moving itself.
TEST_F(CMyButtonTest, TakesThePicturesSizeAndItsShapeTakesTheClicks) {
  m_button->SetStateBitmaps({Ring(30, qRgb(90, 90, 90)), {}, {}, {}, {}}, kKeyBlack);
  EXPECT_EQ(m_button->size(), QSize(30, 30));
  EXPECT_TRUE(Hits(15, 15)) << "the hole in the middle";
  EXPECT_TRUE(Hits(5, 5));
  EXPECT_FALSE(Hits(2, 2)) << "the key-coloured margin around the shape";
  EXPECT_FALSE(Hits(27, 15));
  const QImage shot = m_parent.grab().toImage();
  const QPoint origin = m_button->pos();
  EXPECT_EQ(QColor(shot.pixel(origin + QPoint(15, 15))), m_parent.palette().color(QPalette::Window)) << "unpainted hole";
  EXPECT_EQ(QColor(shot.pixel(origin + QPoint(6, 6))), QColor(90, 90, 90));
}

TEST_F(CMyButtonTest, PressedPictureOfAnotherShapeReshapesWhileHeld) {
  m_button->SetStateBitmaps({Rounded(30, qRgb(90, 90, 90)), LeftHalf(30, qRgb(200, 120, 0)), {}, {}, {}}, kKeyBlack);
  QTest::mousePress(m_button, Qt::LeftButton, {}, QPoint(5, 15));
  EXPECT_EQ(m_button->CurrentSlot(), kSlotPressed);
  EXPECT_FALSE(Hits(25, 15)) << "the right half is cut away while pressed";
  QTest::mouseRelease(m_button, Qt::LeftButton, {}, QPoint(5, 15));
  EXPECT_EQ(m_button->CurrentSlot(), kSlotNormal);
  EXPECT_TRUE(Hits(25, 15));
}

TEST_F(CMyButtonTest, MouseOverFollowsHoverAndLeave) {
  const QImage hot = Rounded(30, qRgb(250, 140, 40));
  m_button->SetStateBitmaps({Rounded(30, qRgb(90, 90, 90)), hot, {}, {}, hot}, kKeyBlack);
  QTest::mouseMove(&m_parent, QPoint(150, 150));  // a move to where the cursor already is would be dropped
  QTest::mouseMove(m_button, QPoint(15, 15));
  EXPECT_TRUE(QTest::qWaitFor([&] { return m_button->IsMouseOver(); }, 1000));
  EXPECT_EQ(m_button->CurrentSlot(), kSlotMouseOver);

  m_button->setEnabled(false);  // no disabled picture: the mouse-over picture stays
  EXPECT_EQ(m_button->CurrentSlot(), kSlotMouseOver);
  m_button->setEnabled(true);

  QTest::mouseMove(&m_parent, QPoint(150, 150));
  EXPECT_TRUE(QTest::qWaitFor([&] { return !m_button->IsMouseOver(); }, 1000));
  EXPECT_EQ(m_button->CurrentSlot(), kSlotNormal);

  QTest::mouseMove(m_button, QPoint(15, 15));
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_button->IsMouseOver(); }, 1000));
  m_button->SetStateBitmaps({Rounded(30, qRgb(90, 90, 90)), hot, {}, {}, hot}, kKeyBlack);
  EXPECT_FALSE(m_button->IsMouseOver()) << "loading pictures clears the flag";
}

TEST_F(CMyButtonTest, AllKeyPictureLeavesNothingToClick) {
  QImage key(20, 20, QImage::Format_RGB32);
  key.fill(qRgb(255, 0, 255));
  m_button->SetStateBitmaps({key, {}, {}, {}, {}}, kKeyMagenta);
  EXPECT_FALSE(Hits(10, 10));
}

TEST_F(CMyButtonTest, ZeroSizeButtonStaysOutOfTheWay) {
  m_button->SetStateBitmaps({Rounded(30, qRgb(90, 90, 90)), {}, {}, {}, {}}, kKeyBlack);
  m_button->resize(0, 0);
  m_button->setEnabled(false);
  m_button->setEnabled(true);
  EXPECT_EQ(m_button->size(), QSize(0, 0));
}

TEST_F(CMyButtonTest, PicturesSetWithoutSizeTakeTheirShapeWhenLaidOut) {
  m_button->resize(0, 0);
  m_button->SetStateBitmaps({Rounded(30, qRgb(90, 90, 90)), {}, {}, {}, {}}, kKeyBlack);
  EXPECT_EQ(m_button->size(), QSize(0, 0));
  m_button->setGeometry(10, 10, 50, 50);
  EXPECT_EQ(m_button->size(), QSize(30, 30));
  EXPECT_TRUE(Hits(15, 15));
}

TEST_F(CMyButtonTest, HeldDownByProgramTakesThePressedShape) {
  m_button->SetStateBitmaps({Rounded(30, qRgb(90, 90, 90)), LeftHalf(30, qRgb(200, 120, 0)), {}, {}, {}}, kKeyBlack);
  m_button->setDown(true);
  EXPECT_TRUE(QTest::qWaitFor([&] { return !Hits(25, 15); }, 1000)) << "pressed shape after setDown(true)";
  m_button->setDown(false);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Hits(25, 15); }, 1000)) << "normal shape after setDown(false)";

  m_button->animateClick();
  EXPECT_FALSE(Hits(25, 15)) << "pressed shape as the animated click starts";
  EXPECT_TRUE(QTest::qWaitFor([&] { return Hits(25, 15); }, 1000)) << "normal shape once it is released";
}

TEST_F(CMyButtonTest, LoadsSkinPicturesById) {
  m_button->SetBitmaps(IDB_PLAY, IDB_PLAY_HOT, IDB_PLAY_HOT, kKeyBlack);
  EXPECT_EQ(m_button->size(), QSize(59, 25));
  EXPECT_FALSE(Hits(0, 0)) << "rounded corner";
  EXPECT_TRUE(Hits(29, 12));

  m_button->SetBitmaps(0, 0, 0, kKeyBlack);
  EXPECT_EQ(m_button->CurrentSlot(), -1) << "no pictures: nothing to paint";
}

// A disabled skin button looks grey, in the same shape, and goes back to its picture when enabled again.
TEST_F(CMyButtonTest, DisabledSkinButtonIsGreyInItsShape) {
  m_button->SetBitmaps(IDB_MAP, IDB_MAP_HOT, IDB_MAP_HOT, kKeyBlack);
  const QImage enabled = m_button->grab().toImage();
  m_button->setEnabled(false);
  EXPECT_EQ(m_button->CurrentSlot(), kSlotDisabled);
  const QImage disabled = m_button->grab().toImage();
  ASSERT_EQ(disabled.size(), enabled.size());
  int changed = 0;
  for (int y = 0; y < disabled.height(); ++y) {
    for (int x = 0; x < disabled.width(); ++x) {
      const QColor before(enabled.pixel(x, y));
      const QColor after(disabled.pixel(x, y));
      if (before == after) continue;
      ++changed;
      EXPECT_EQ(after.saturation(), 0) << x << "," << y;
    }
  }
  EXPECT_GT(changed, disabled.width() * disabled.height() / 2);
  m_button->setEnabled(true);
  EXPECT_EQ(m_button->grab().toImage(), enabled);
}

}  // namespace
}  // namespace vx
