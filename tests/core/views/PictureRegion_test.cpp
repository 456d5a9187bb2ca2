// Tests of where a shown part of a picture lies in the samples of its planes.
#include <gtest/gtest.h>

#include "core/views/PictureRegion.h"

namespace vx {
namespace {

// Every plane covers the same part of the picture, odd sizes keep their last half-covered chroma sample,
// and no region, however small or far out, gives an empty rectangle or one past the plane.
TEST(PictureRegion, CoversTheSamePartInEveryPlaneAndStaysWithinIt) {
  struct Case {
    PictureRegion region;
    int width, height, shiftX, shiftY;
    PlaneRect expected;
  };
  const PictureRegion whole;
  const Case cases[] = {
      {whole, 1280, 720, 0, 0, {0, 0, 1280, 720}},
      {whole, 1280, 720, 1, 1, {0, 0, 640, 360}},
      {whole, 641, 361, 0, 0, {0, 0, 641, 361}},
      {whole, 641, 361, 1, 1, {0, 0, 321, 181}},
      {whole, 641, 361, 1, 0, {0, 0, 321, 361}},  // 4:2:2
      {whole, 1, 1, 1, 1, {0, 0, 1, 1}},
      // An odd start is widened to the chroma grid in luma too, so both planes begin at the same pixel.
      {{0.25, 0.5, 0.5, 0.25}, 202, 100, 0, 0, {50, 50, 102, 26}},
      {{0.25, 0.5, 0.5, 0.25}, 202, 100, 1, 1, {25, 25, 51, 13}},
      // Nothing wide, at the far edge, or outside the picture: one grid step inside it.
      {{1.0, 1.0, 0.0, 0.0}, 641, 361, 0, 0, {640, 360, 1, 1}},
      {{1.0, 1.0, 0.0, 0.0}, 640, 360, 1, 1, {319, 179, 1, 1}},
      {{-3.0, 2.0, 10.0, 0.5}, 640, 360, 0, 0, {0, 358, 640, 2}},
  };
  for (const Case& c : cases) {
    const PlaneRect rect = RegionInPlane(c.region, c.width, c.height, c.shiftX, c.shiftY, 1, 1);
    EXPECT_EQ(rect, c.expected) << c.region.x << "," << c.region.y << " " << c.width << "x" << c.height << " >>"
                                << c.shiftX << c.shiftY << ": " << rect.x << "," << rect.y << " " << rect.width
                                << "x" << rect.height;
  }
}

}  // namespace
}  // namespace vx
