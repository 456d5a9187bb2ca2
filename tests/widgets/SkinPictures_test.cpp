// Every packed skin picture: its size, its key colour where the window cuts it, and how neighbours meet.
#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>

#include "core/player/ControlIds.h"
#include "core/player/ViewSlots.h"
#include "core/player/WindowLayout.h"
#include "widgets/BitmapToRegion.h"
#include "widgets/SkinBitmaps.h"
#include "widgets/SkinIds.h"

namespace vx {
namespace {

struct PlacedButton {
  int control;  // pictures that share one control take turns at the same place
  int normalId;
  int hotId;
  QRect rect;
  std::uint32_t key;
};

// Every skinned button the main window places in a mode, once for each pair of pictures it can wear:
// play or pause, sound on or off, and in the normal window either pair of the rear-video button.
std::vector<PlacedButton> PlacedButtons(bool fullScreen) {
  std::vector<PlacedButton> placed;
  const auto add = [&](int control, int normal, int hot, LayoutRect r, std::uint32_t key) {
    placed.push_back({control, normal, hot, QRect(r.x, r.y, r.width, r.height), key});
  };
  for (const bool playing : {false, true}) {
    const ModeLayout layout = fullScreen ? FullScreenLayout(1920, 1080, playing) : NormalLayout(!playing, playing);
    for (const SkinnedButtonPlace& b : layout.buttons) {
      if (!playing || b.id == IDC_PLAY || b.id == IDC_SOUND) add(b.id, b.normalBitmap, b.hotBitmap, b.rect, b.key);
      if (!playing && !fullScreen && b.id == IDC_REAR_VIDEO) {
        const RearVideoButton rear = RearVideoButton::OfferRear;
        add(b.id, RearVideoButtonNormalBitmap(rear), RearVideoButtonHotBitmap(rear), b.rect, RearVideoButtonKey(rear));
      }
    }
    for (const ControlPlace& p : layout.places) {
      const int sound = SoundButtonBitmap(!playing);  // full screen keeps the normal window's pictures
      if (p.id == IDC_SOUND) add(p.id, sound, sound, p.rect, kNormalSkinKey);
    }
  }
  return placed;
}

struct Expected {
  QSize size;  // empty: any size
  std::optional<std::uint32_t> key;
};

// Every picture the program loads, with the size of the place it fills and the key it is cut with.
std::map<int, Expected> EveryPicture() {
  std::map<int, Expected> pictures = {
      {IDB_BACKGROUND, {{1020, 594}, {}}},      {IDB_FULL_BACKGROUND, {{1920, 1080}, {}}},
      {IDB_FULL_MIDDLE, {{1920, 950}, {}}},     {IDB_FULL_BOTTOM_BAR, {{1920, 120}, {}}},
      {IDB_FULL_DIVIDER, {{1880, 11}, {}}},     {IDB_FULL_SPEED_PLATE, {{112, 25}, {}}},
      {IDB_FULL_TOP_BAR, {{1920, 21}, {}}},     {IDB_SLIDER_CHANNEL, {{1, 7}, {}}},
      {IDB_SLIDER_THUMB, {{15, 7}, {}}},        {IDB_GRAPH_BACKGROUND, {{515, 225}, {}}},
      {IDB_GRAPH_PLOT, {{461, 160}, {}}},       {IDB_SPARE_STATIC, {{}, {}}},
      {IDR_MAINFRAME, {{}, {}}},
      {IDB_GRAPH_CLOSE, {{43, 18}, kKeyMagenta}}, {IDB_GRAPH_CLOSE_HOT, {{43, 18}, kKeyMagenta}},
  };
  std::vector<PlacedButton> buttons = PlacedButtons(false);
  for (const PlacedButton& placed : PlacedButtons(true)) buttons.push_back(placed);
  for (const PlacedButton& placed : buttons) {
    pictures[placed.normalId] = {placed.rect.size(), placed.key};
    pictures[placed.hotId] = {placed.rect.size(), placed.key};
  }
  return pictures;
}

QRgb KeyPixel(std::uint32_t key) { return qRgb(int(key & 0xFF), int((key >> 8) & 0xFF), int((key >> 16) & 0xFF)); }

// How far a channel lies outside the key's transparent range [k, k + 16]; 0 inside it.
int OutsideRange(int channel, int k) { return std::max({0, k - channel, channel - std::min(k + 16, 255)}); }

// 0 for a transparent pixel, else how far its farthest channel lies from the transparent range.
int DistanceFromKey(QRgb pixel, std::uint32_t key) {
  return std::max({OutsideRange(qRed(pixel), int(key & 0xFF)), OutsideRange(qGreen(pixel), int((key >> 8) & 0xFF)),
                   OutsideRange(qBlue(pixel), int((key >> 16) & 0xFF))});
}

TEST(SkinPictures, EveryPictureIsPackedAtTheSizeOfItsPlace) {
  const std::map<int, Expected> expected = EveryPicture();
  ASSERT_FALSE(LoadSkinImage(IDB_BACKGROUND).isNull());  // registers the packed pictures
  std::vector<int> packed;
  for (const QString& name : QDir(QStringLiteral(":/skin")).entryList({QStringLiteral("*.png")})) {
    packed.push_back(name.chopped(4).toInt());
  }
  std::sort(packed.begin(), packed.end());
  std::vector<int> wanted;
  for (const auto& [id, picture] : expected) wanted.push_back(id);
  EXPECT_EQ(packed, wanted);
  for (const auto& [id, picture] : expected) {
    const QImage image = LoadSkinImage(id);
    ASSERT_FALSE(image.isNull()) << id;
    if (!picture.size.isEmpty()) {
      EXPECT_EQ(image.size(), picture.size) << id;
    }
  }
}

TEST(SkinPictures, ButtonsHaveTheExactKeyAtTheirCornersAndNoOpaquePixelNearIt) {
  constexpr int kNear = 24;  // an opaque pixel this close to the key reads as a speck of it
  for (const auto& [id, picture] : EveryPicture()) {
    if (!picture.key) continue;
    const QImage image = LoadSkinImage(id).convertToFormat(QImage::Format_RGB32);
    const QRgb key = KeyPixel(*picture.key);
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
      EXPECT_EQ(image.pixel(corner) & 0xFFFFFF, key & 0xFFFFFF) << id << " corner " << corner.x() << "," << corner.y();
    }
    int specks = 0;
    QPoint first;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const int distance = DistanceFromKey(image.pixel(x, y), *picture.key);
        if (distance == 0 || distance > kNear) continue;
        if (specks++ == 0) first = {x, y};
      }
    }
    EXPECT_EQ(specks, 0) << id << ": first at " << first.x() << "," << first.y();
  }
}

TEST(SkinPictures, GraphPicturesHoldNoPixelOfTheirTransparentGreen) {
  for (const int id : {IDB_GRAPH_BACKGROUND, IDB_GRAPH_PLOT}) {
    const QImage image = LoadSkinImage(id).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) ASSERT_NE(image.pixel(x, y) & 0xFFFFFF, 0x00FF00u) << id;
    }
  }
}

// The opaque part of a picture where the window puts it.
QRegion Shape(int id, const PlacedButton& placed) {
  return BitmapToRegion(LoadSkinImage(id), placed.key).value_or(QRegion()).translated(placed.rect.topLeft());
}

// Neighbouring buttons must neither cover each other's pictures nor touch: each leaves its key colour
// where its place meets or overlaps a neighbour's.
void ExpectNeighboursApart(const std::vector<PlacedButton>& buttons, const char* mode) {
  for (const PlacedButton& a : buttons) {
    for (const PlacedButton& b : buttons) {
      if (a.control >= b.control) continue;
      for (const int idA : {a.normalId, a.hotId}) {
        for (const int idB : {b.normalId, b.hotId}) {
          const QRegion shapeA = Shape(idA, a);
          const QRegion shapeB = Shape(idB, b);
          QRegion grownA = shapeA;
          for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            grownA |= shapeA.translated(step);
          }
          EXPECT_TRUE(shapeA.intersected(shapeB).isEmpty()) << mode << ": " << idA << " and " << idB << " overlap";
          EXPECT_TRUE(grownA.intersected(shapeB).isEmpty()) << mode << ": " << idA << " and " << idB << " touch";
        }
      }
    }
  }
}

TEST(SkinPictures, NeighbouringButtonsNeitherOverlapNorTouch) {
  ExpectNeighboursApart(PlacedButtons(false), "normal window");
  ExpectNeighboursApart(PlacedButtons(true), "full screen");
}

// The bottom bar and its divider are laid across the whole screen width, whatever it is: each of their rows
// is one colour, so that they line up with the controls at any width.
TEST(SkinPictures, FullScreenBarsLookTheSameAtAnyWidth) {
  for (const int id : {IDB_FULL_BOTTOM_BAR, IDB_FULL_DIVIDER}) {
    const QImage image = LoadSkinImage(id).convertToFormat(QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
      int differing = 0;
      for (int x = 1; x < image.width(); ++x) differing += image.pixel(x, y) != image.pixel(0, y) ? 1 : 0;
      EXPECT_EQ(differing, 0) << id << " row " << y;
    }
  }
}

}  // namespace
}  // namespace vx
