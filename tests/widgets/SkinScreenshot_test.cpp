// A window of skinned buttons (normal, mouse over, pressed) and both sliders over the normal background, saved
// as build/widgets-screenshot.png; checks that the buttons' key-coloured corners show the background.
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

#include "widgets/CMyButton.h"
#include "widgets/CTkSlider.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

struct Placed {
  int normalId;
  int hotId;
  QRect rect;
  std::uint32_t key;
};

const Placed kButtons[] = {
    {IDB_OPEN, IDB_OPEN_HOT, {20, 523, 162, 52}, kKeyBlack},
    {IDB_SETTINGS, IDB_SETTINGS_HOT, {182, 523, 162, 52}, kKeyBlack},
    {IDB_SNAPSHOT, IDB_SNAPSHOT_HOT, {344, 523, 162, 52}, kKeyBlack},
    {IDB_GSENSOR, IDB_GSENSOR_HOT, {506, 523, 162, 52}, kKeyBlack},
    {IDB_MINIMIZE, IDB_MINIMIZE_HOT, {897, 18, 28, 18}, kKeyBlack},
    {IDB_FULLSCREEN, IDB_FULLSCREEN_HOT, {926, 18, 28, 18}, kKeyBlack},
    {IDB_CLOSE, IDB_CLOSE_HOT, {955, 18, 43, 18}, kKeyBlack},
    {IDB_REAR_VIEW, IDB_REAR_VIEW_HOT, {678, 28, 106, 22}, kKeyRearVideo},
    {IDB_MAP, IDB_MAP_HOT, {700, 290, 98, 25}, kKeyBlack},
    {IDB_LARGE_MAP, IDB_LARGE_MAP_HOT, {798, 290, 80, 25}, kKeyBlack},
    {IDB_SWAP, IDB_SWAP_HOT, {878, 290, 98, 18}, kKeyBlack},
    {IDB_PREV, IDB_PREV_HOT, {163, 450, 65, 25}, kKeyBlack},
    {IDB_BACK, IDB_BACK_HOT, {228, 450, 65, 25}, kKeyBlack},
    {IDB_PLAY, IDB_PLAY_HOT, {284, 450, 59, 25}, kKeyBlack},
    {IDB_STOP, IDB_STOP_HOT, {343, 450, 59, 25}, kKeyBlack},
    {IDB_FORWARD, IDB_FORWARD_HOT, {403, 450, 59, 25}, kKeyBlack},
    {IDB_NEXT, IDB_NEXT_HOT, {459, 450, 59, 25}, kKeyBlack},
    {IDB_SLOWER, IDB_SLOWER_HOT, {203, 475, 102, 25}, kKeyBlack},
    {IDB_FASTER, IDB_FASTER_HOT, {383, 475, 102, 25}, kKeyBlack},
    {IDB_SOUND_ON, IDB_SOUND_ON, {548, 416, 14, 13}, kKeyBlack},
};

CTkSlider* AddSlider(QWidget& window, const QRect& rect, int maximum, int position) {
  auto* slider = new CTkSlider(&window);
  slider->setGeometry(rect);
  slider->SetRange(0, maximum);
  slider->SetPos(position);
  slider->InitSkin();
  return slider;
}

TEST(SkinScreenshot, NormalWindowWithButtonsInEveryStateAndBothSliders) {
  const QImage background = LoadSkinImage(IDB_BACKGROUND);
  ASSERT_EQ(background.size(), QSize(1020, 594));
  QLabel window;
  window.setPixmap(QPixmap::fromImage(background));
  window.setFixedSize(background.size());
  std::vector<CMyButton*> buttons;
  for (const Placed& placed : kButtons) {
    buttons.push_back(new CMyButton(&window));
    buttons.back()->setGeometry(placed.rect);
    buttons.back()->SetBitmaps(placed.normalId, placed.hotId, placed.hotId, placed.key);
  }
  AddSlider(window, {31, 419, 502, 7}, 60'000, 21'000);
  AddSlider(window, {563, 419, 90, 7}, 99, 50);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

  CMyButton* hovered = buttons[1];   // SETTINGS under the mouse
  CMyButton* pressed = buttons[2];   // SNAPSHOT held down
  QTest::mouseMove(hovered, QPoint(80, 26));
  ASSERT_TRUE(QTest::qWaitFor([&] { return hovered->IsMouseOver(); }, 1000));
  pressed->setDown(true);
  buttons[13]->setDown(true);  // PLAY held down
  QCoreApplication::processEvents();

  const QImage shot = window.grab().toImage();
  ASSERT_TRUE(shot.save(QStringLiteral(VX_BIN_DIR "/../widgets-screenshot.png")));
  const QImage hot = LoadSkinImage(IDB_SNAPSHOT_HOT);
  EXPECT_EQ(shot.pixel(344 + 81, 523 + 45), hot.pixel(81, 45)) << "pressed picture shown";
  EXPECT_EQ(shot.pixel(20, 523), background.pixel(20, 523)) << "black corner of OPEN shows the background";
  EXPECT_EQ(shot.pixel(678, 28), background.pixel(678, 28)) << "yellow corner of the rear-view tab too";
  EXPECT_EQ(shot.pixel(548, 416), background.pixel(548, 416)) << "around the speaker symbol";
}

}  // namespace
}  // namespace vx
