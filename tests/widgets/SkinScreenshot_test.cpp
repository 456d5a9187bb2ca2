// The skinned buttons (normal, mouse over, pressed) and both sliders over the window's backgrounds in its two
// modes, saved as build/widgets-screenshot.png and build/widgets-screenshot-full.png; checks that the buttons'
// key-coloured corners show the background.
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

#include "SkinLayout.h"
#include "widgets/CMyButton.h"
#include "widgets/CTkSlider.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

CTkSlider* AddSlider(QWidget& window, const QRect& rect, int maximum, int position) {
  auto* slider = new CTkSlider(&window);
  slider->setGeometry(rect);
  slider->SetRange(0, maximum);
  slider->SetPos(position);
  slider->InitSkin();
  return slider;
}

QLabel* AddPicture(QWidget& window, int id, const QRect& rect) {
  auto* label = new QLabel(&window);
  label->setPixmap(QPixmap::fromImage(LoadSkinImage(id)));
  label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  label->setGeometry(rect);
  return label;
}

// One button per control, showing the first pictures listed for it; by control ID.
std::map<int, CMyButton*> AddButtons(QWidget& window, const std::vector<test::PlacedButton>& placed) {
  std::map<int, CMyButton*> buttons;
  for (const test::PlacedButton& entry : placed) {
    if (buttons.contains(entry.control)) continue;
    auto* button = new CMyButton(&window);
    button->setGeometry(entry.rect);
    button->SetBitmaps(entry.normalId, entry.hotId, entry.hotId, entry.key);
    buttons[entry.control] = button;
  }
  return buttons;
}

void Save(QWidget& window, const char* name) {
  ASSERT_TRUE(window.grab().save(QStringLiteral(VX_BIN_DIR "/../") + QString::fromLatin1(name)));
}

TEST(SkinScreenshot, NormalWindowWithButtonsInEveryStateAndBothSliders) {
  const QImage background = LoadSkinImage(IDB_BACKGROUND);
  ASSERT_EQ(background.size(), QSize(1020, 594));
  QLabel window;
  window.setPixmap(QPixmap::fromImage(background));
  window.setFixedSize(background.size());
  const std::map<int, CMyButton*> buttons = AddButtons(window, test::NormalWindowButtons());
  AddSlider(window, {31, 419, 502, 7}, 60'000, 21'000);
  AddSlider(window, {563, 419, 90, 7}, 99, 50);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  CMyButton* hovered = buttons.at(1016);  // SETTINGS under the mouse
  QTest::mouseMove(hovered, QPoint(80, 26));
  ASSERT_TRUE(QTest::qWaitFor([&] { return hovered->IsMouseOver(); }, 1000));
  buttons.at(1017)->setDown(true);  // SNAPSHOT held down
  buttons.at(1006)->setDown(true);  // PLAY held down
  QCoreApplication::processEvents();

  Save(window, "widgets-screenshot.png");
  const QImage shot = window.grab().toImage();
  const QImage hot = LoadSkinImage(IDB_SNAPSHOT_HOT);
  EXPECT_EQ(shot.pixel(344 + 81, 523 + 45), hot.pixel(81, 45)) << "pressed picture shown";
  EXPECT_EQ(shot.pixel(20, 523), background.pixel(20, 523)) << "black corner of OPEN shows the background";
  EXPECT_EQ(shot.pixel(678, 28), background.pixel(678, 28)) << "corner of the front-view tab too";
  EXPECT_EQ(shot.pixel(548, 416), background.pixel(548, 416)) << "around the speaker symbol";
}

// A full screen narrower than the one the bars were drawn for: they still line up with the controls.
TEST(SkinScreenshot, FullScreenBarsAndButtonsOnA1280By1024Screen) {
  constexpr int W = 1280;
  constexpr int H = 1024;
  constexpr int c = W / 2;
  QLabel window;
  window.setPixmap(QPixmap::fromImage(LoadSkinImage(IDB_FULL_BACKGROUND)));
  window.setFixedSize(W, H);
  AddPicture(window, IDB_FULL_MIDDLE, {0, 22, W, H - 130});
  AddPicture(window, IDB_FULL_BOTTOM_BAR, {0, H - 120, W, 120});
  AddPicture(window, IDB_FULL_DIVIDER, {20, H - 46, W - 40, 11});
  AddPicture(window, IDB_FULL_SPEED_PLATE, {c - 56, H - 35, 112, 25});
  AddPicture(window, IDB_FULL_TOP_BAR, {0, 0, W, 21});
  const std::map<int, CMyButton*> buttons = AddButtons(window, test::FullScreenButtons(W, H));
  AddSlider(window, {15, H - 100, 2 * c - 150, 7}, 60'000, 21'000);
  AddSlider(window, {2 * c - 90, H - 100, 75, 7}, 99, 50);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  buttons.at(1006)->setDown(true);
  ASSERT_TRUE(QTest::qWaitFor([&] { return buttons.at(1006)->CurrentSlot() == kSlotPressed; }, 1000));
  QCoreApplication::processEvents();

  Save(window, "widgets-screenshot-full.png");
  const QImage shot = window.grab().toImage();
  const QImage bar = LoadSkinImage(IDB_FULL_BOTTOM_BAR);
  EXPECT_EQ(shot.pixel(c - 179, H - 60), bar.pixel(0, 60)) << "magenta corner of PRE shows the bar";
  EXPECT_EQ(shot.pixel(2 * c - 95, H - 97), bar.pixel(0, 23)) << "the bar beside the volume slider";
}

}  // namespace
}  // namespace vx
