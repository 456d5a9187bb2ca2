// Every packed skin picture: its size, its key colour where the window cuts it, and how neighbours meet; the
// region cut from a picture's opaque runs.
#include <QDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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

QImage Rgb32(int id) { return LoadSkinImage(id).convertToFormat(QImage::Format_RGB32); }

// How many pixels of the picture `counts(x, y, pixel)` holds for.
int CountPixels(const QImage& image, const std::function<bool(int, int, QRgb)>& counts) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += counts(x, y, image.pixel(x, y) & 0xFFFFFF) ? 1 : 0;
  }
  return n;
}

// Every picture is packed at the size of its place. Buttons have the exact key at their corners and no opaque
// pixel so near it that it reads as a speck of it. The graph's pictures hold no pixel of its transparent green.
// The full-screen bottom bar and its divider are laid across the whole screen width: each of their rows is one
// colour, so they line up at any width.
TEST(SkinPictures, EveryPictureHasTheSizeOfItsPlaceAndCleanKeyColoursAndBars) {
  const std::map<int, Expected> expected = EveryPicture();
  ASSERT_FALSE(LoadSkinImage(IDB_BACKGROUND).isNull());  // registers the packed pictures
  std::vector<int> packed, wanted;
  for (const QString& name : QDir(":/skin").entryList({"*.png"})) packed.push_back(name.chopped(4).toInt());
  std::sort(packed.begin(), packed.end());
  for (const auto& [id, picture] : expected) wanted.push_back(id);
  EXPECT_EQ(packed, wanted);
  constexpr int kNear = 24;
  for (const auto& [id, picture] : expected) {
    const QImage image = Rgb32(id);
    ASSERT_FALSE(image.isNull()) << id;
    EXPECT_TRUE(picture.size.isEmpty() || image.size() == picture.size) << id;
    if (!picture.key) continue;
    const QRgb key = KeyPixel(*picture.key) & 0xFFFFFF;
    const int right = image.width() - 1, bottom = image.height() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(right, 0), QPoint(0, bottom), QPoint(right, bottom)}) {
      EXPECT_EQ(image.pixel(corner) & 0xFFFFFF, key) << id << " corner " << corner.x() << "," << corner.y();
    }
    EXPECT_EQ(CountPixels(image, [&](int, int, QRgb pixel) {
                const int distance = DistanceFromKey(pixel, *picture.key);
                return distance > 0 && distance <= kNear;
              }), 0) << id;
  }
  for (const int id : {IDB_GRAPH_BACKGROUND, IDB_GRAPH_PLOT}) {
    EXPECT_EQ(CountPixels(Rgb32(id), [](int, int, QRgb pixel) { return pixel == 0x00FF00u; }), 0) << id;
  }
  for (const int id : {IDB_FULL_BOTTOM_BAR, IDB_FULL_DIVIDER}) {
    const QImage image = Rgb32(id);
    const auto offRowColour = [&](int, int y, QRgb pixel) { return pixel != (image.pixel(0, y) & 0xFFFFFF); };
    EXPECT_EQ(CountPixels(image, offRowColour), 0) << id;
  }
}

// A row of the rear-video key (yellow) and one pixel within its range; on the odd columns 2 001 single pixels
// of the key with red and blue swapped, which are opaque and more runs than one batch holds.
TEST(BitmapToRegion, CutsTheKeyInTheImagesChannelOrderAcrossBatches) {
  EXPECT_FALSE(BitmapToRegion(QImage(), kKeyRearVideo).has_value()) << "a null picture";
  QImage image(4002, 1, QImage::Format_RGB32);
  image.fill(qRgb(255, 255, 0));
  image.setPixel(2, 0, qRgb(255, 255, 16));
  QRegion expected;
  for (int x = 1; x < image.width(); x += 2) {
    image.setPixel(x, 0, qRgb(0, 255, 255));
    expected |= QRect(x, 0, 1, 1);
  }
  const std::optional<QRegion> region = BitmapToRegion(image, kKeyRearVideo);
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(region->xored(expected).isEmpty());
}

// The opaque part of a picture where the window puts it.
QRegion Shape(int id, const PlacedButton& placed) {
  return BitmapToRegion(LoadSkinImage(id), placed.key).value_or(QRegion()).translated(placed.rect.topLeft());
}

// Neighbouring buttons must neither cover each other's pictures nor touch: each leaves its key colour
// where its place meets or overlaps a neighbour's.
TEST(SkinPictures, NeighbouringButtonsNeitherOverlapNorTouch) {
  for (const bool fullScreen : {false, true}) {
    const std::vector<PlacedButton> buttons = PlacedButtons(fullScreen);
    for (const PlacedButton& a : buttons) {
      for (const PlacedButton& b : buttons) {
        if (a.control >= b.control) continue;
        for (const int idA : {a.normalId, a.hotId}) {
          const QRegion shapeA = Shape(idA, a);
          QRegion grownA = shapeA;
          for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            grownA |= shapeA.translated(step);
          }
          for (const int idB : {b.normalId, b.hotId}) {
            EXPECT_TRUE(grownA.intersected(Shape(idB, b)).isEmpty())
                << (fullScreen ? "full screen: " : "normal window: ") << idA << " and " << idB << " touch";
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vx
