// Tests of the region built from a bitmap's opaque runs, across batches and key ranges.
#include "widgets/BitmapToRegion.h"

#include <gtest/gtest.h>

#include "widgets/SkinIds.h"

namespace vx {
namespace {

bool SameArea(const QRegion& a, const QRegion& b) { return a.xored(b).isEmpty(); }

TEST(BitmapToRegion, ManyBatchesGiveTheSameRegionAsOne) {
  EXPECT_FALSE(BitmapToRegion(QImage(), kKeyBlack).has_value()) << "a null picture";
  // 2 001 single-pixel runs on the odd columns of a 4 002-pixel row: one full batch and one of a single run.
  QImage image(4002, 1, QImage::Format_RGB32);
  image.fill(Qt::black);
  QRegion expected;
  for (int x = 1; x < 4002; x += 2) {
    image.setPixel(x, 0, qRgb(200, 200, 200));
    expected |= QRect(x, 0, 1, 1);
  }
  const std::optional<QRegion> region = BitmapToRegion(image, kKeyBlack);
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(SameArea(*region, expected));
  EXPECT_TRUE(region->contains(QPoint(4001, 0))) << "the run of the last batch";
}

// The key range itself is the scan's; here the image's pixels must reach it with red in the key's low byte.
TEST(BitmapToRegion, CutsTheKeyReadInTheImagesChannelOrder) {
  QImage image(3, 1, QImage::Format_RGB32);
  image.setPixel(0, 0, qRgb(255, 255, 0));   // yellow, the rear-video key
  image.setPixel(1, 0, qRgb(0, 255, 255));   // the key with red and blue swapped
  image.setPixel(2, 0, qRgb(255, 255, 16));  // within the key's range
  std::optional<QRegion> region = BitmapToRegion(image, kKeyRearVideo);
  ASSERT_TRUE(region.has_value());
  EXPECT_TRUE(SameArea(*region, QRegion(1, 0, 1, 1)));
  image.fill(qRgb(255, 255, 0));
  region = BitmapToRegion(image, kKeyRearVideo);
  ASSERT_TRUE(region.has_value()) << "an all-key picture has a region, an empty one";
  EXPECT_TRUE(region->isEmpty());
}

}  // namespace
}  // namespace vx
