// Zoom of a video view: the factor's limits, the point under the pointer, panning, and the picture covering
// the view.
#include <gtest/gtest.h>

#include <cmath>

#include "core/views/ViewZoom.h"

namespace vx {
namespace {

// The point of the picture under a point of the view.
std::pair<double, double> PictureAt(const CViewZoom& zoom, double atX, double atY) {
  const PictureRegion r = zoom.Region();
  return {r.x + atX * r.width, r.y + atY * r.height};
}

// Each case starts where the one before ended; the point under the pointer stays, the picture covers the view.
TEST(ViewZoom, TheWheelZoomsAroundThePointerWithinOneToEight) {
  struct Case {
    double notches, atX, atY, factor;
    const char* text;
  };
  const Case cases[] = {
      {4, 0.5, 0.5, 2.0, "2.0\u00d7"},  {4, 0.25, 0.75, 4.0, "4.0\u00d7"}, {2, 0.9, 0.1, 4.0 * std::sqrt(2.0), "5.7\u00d7"},
      {20, 0.5, 0.5, 8.0, "8.0\u00d7"}, {-6, 0.3, 0.6, 8.0 / std::exp2(1.5), "2.8\u00d7"}, {-40, 0.5, 0.5, 1.0, "1.0\u00d7"},
  };
  CViewZoom zoom;
  for (const Case& c : cases) {
    const auto before = PictureAt(zoom, c.atX, c.atY);
    zoom.ZoomAt(c.notches, c.atX, c.atY);
    EXPECT_NEAR(zoom.Factor(), c.factor, 1e-9) << c.notches;
    EXPECT_EQ(zoom.FactorText(), c.text);
    const PictureRegion r = zoom.Region();
    EXPECT_TRUE(r.x >= 0 && r.y >= 0 && r.x + r.width <= 1 + 1e-12 && r.y + r.height <= 1 + 1e-12) << c.notches;
    if (c.factor > 1.0) {
      EXPECT_NEAR(PictureAt(zoom, c.atX, c.atY).first, before.first, 1e-9) << c.notches;
      EXPECT_NEAR(PictureAt(zoom, c.atX, c.atY).second, before.second, 1e-9) << c.notches;
    }
  }
  EXPECT_FALSE(zoom.IsZoomed()) << "zooming all the way out is exactly the whole picture";
}

TEST(ViewZoom, DraggingMovesThePictureWithThePointerUntilItsEdgeAndResetShowsItAll) {
  CViewZoom zoom;
  zoom.PanBy(0.3, 0.3);
  EXPECT_DOUBLE_EQ(zoom.Region().x, 0.0) << "an unzoomed picture does not move";
  zoom.ZoomAt(8, 0.5, 0.5);  // 4x
  const auto grabbed = PictureAt(zoom, 0.5, 0.5);
  zoom.PanBy(0.2, -0.1);
  EXPECT_NEAR(PictureAt(zoom, 0.7, 0.4).first, grabbed.first, 1e-12);
  EXPECT_NEAR(PictureAt(zoom, 0.7, 0.4).second, grabbed.second, 1e-12);
  zoom.PanBy(10.0, -10.0);  // far past the left and bottom edges
  EXPECT_DOUBLE_EQ(zoom.Region().x, 0.0);
  EXPECT_DOUBLE_EQ(zoom.Region().y, 0.75);
  zoom.Reset();
  EXPECT_EQ(zoom.Factor(), 1.0);
  EXPECT_DOUBLE_EQ(zoom.Region().width, 1.0);
  EXPECT_DOUBLE_EQ(zoom.Region().y, 0.0);
}

}  // namespace
}  // namespace vx
