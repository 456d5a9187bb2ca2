// Tests of the region built from a bitmap's opaque runs: the key in the image's channel order, many batches.
#include "widgets/BitmapToRegion.h"

#include <gtest/gtest.h>

#include "widgets/SkinIds.h"

namespace vx {
namespace {

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

}  // namespace
}  // namespace vx
