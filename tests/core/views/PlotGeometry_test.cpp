// Tests of the acceleration plot's arithmetic: time and value axes, the marker column and the traces.
#include "core/views/PlotGeometry.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(PlotGeometry, AxesMapTheFirstMinuteAndTheSampleRange) {
  EXPECT_EQ(PlotX(0), 0);
  EXPECT_EQ(PlotX(30000), 230);
  EXPECT_EQ(PlotX(59999), 459);
  EXPECT_EQ(PlotX(60000), 460);
  EXPECT_EQ(PlotX(60130), 460);
  EXPECT_EQ(PlotX(60131), 461);
  EXPECT_EQ(PlotX(4294967295u), 32928082) << "no overflow at the largest time";
  EXPECT_EQ(PlotY(128), 0);
  EXPECT_EQ(PlotY(0), 80);
  EXPECT_EQ(PlotY(-127), 159);
  EXPECT_EQ(PlotY(32), 60);
  EXPECT_EQ(PlotY(1), 79) << "79.375 truncated";
}

TEST(PlotGeometry, MarkerNeedsAPosition) {
  EXPECT_FALSE(PlotMarkerX(0));
  EXPECT_EQ(PlotMarkerX(1), 0);
  EXPECT_EQ(PlotMarkerX(30000), 230);
  EXPECT_EQ(PlotMarkerX(60131), 461);
}

TEST(PlotGeometry, TracesStartAtTheCentreAndStopAfterTheFirstMinute) {
  CArray<CGSensorData> samples;
  EXPECT_EQ(TracePoints(samples, PlotAxis::X), (std::vector<PlotPoint>{{0, 80}}));
  samples.Add({128, -127, 0, 30000});
  samples.Add({0, 0, 0, 60001});
  samples.Add({-127, 128, 32, 60000});
  samples.Add({1, 1, 1, 100});  // out of time order: drawn in array order
  EXPECT_EQ(TracePoints(samples, PlotAxis::X), (std::vector<PlotPoint>{{0, 80}, {230, 0}, {460, 159}, {0, 79}}));
  EXPECT_EQ(TracePoints(samples, PlotAxis::Y), (std::vector<PlotPoint>{{0, 80}, {230, 159}, {460, 0}, {0, 79}}));
  EXPECT_EQ(TracePoints(samples, PlotAxis::Z), (std::vector<PlotPoint>{{0, 80}, {230, 80}, {460, 60}, {0, 79}}));
}

}  // namespace
}  // namespace vx
