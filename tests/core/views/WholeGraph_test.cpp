// Tests of the whole-recording G graph's arithmetic: the scrolling span, the per-column reduction of |G|,
// and the event marks.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/views/WholeGraph.h"

namespace vx {
namespace {

TEST(WholeGraph, SpanIsTheWholeShortRecordingAndScrollsWithThePositionInALongOne) {
  struct Case {
    std::uint32_t lengthMs, positionMs;
    WholeGraphSpan span;
  };
  const Case cases[] = {
      {0, 0, {0, 0}},                          // nothing known yet
      {10'000, 0, {0, 10'000}},                // short: all of it, wherever the position
      {10'000, 9'000, {0, 10'000}},
      {120'000, 119'000, {0, 120'000}},
      {600'000, 0, {0, 120'000}},              // long: held at the start
      {600'000, 30'000, {0, 120'000}},
      {600'000, 300'000, {240'000, 360'000}},  // the position in the middle
      {600'000, 600'000, {480'000, 600'000}},  // held at the end
      {600'000, 700'000, {480'000, 600'000}},  // a position past the end
      {10'800'000, 5'400'000, {5'340'000, 5'460'000}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VisibleSpan(c.lengthMs, c.positionMs), c.span) << c.lengthMs << " at " << c.positionMs;
  }
}

// Columns of 1 s over 0..10 s, rows of 0.1 g over 0..2 g.
constexpr WholeGraphArea kTenSeconds{{0, 10'000}, 11, 21, 2.0};

TEST(WholeGraph, ColumnsHoldTheirLowestAndHighestGWhateverTheSamplesOrderAndLeaveNaNOut) {
  EXPECT_TRUE(WholeGraphPoints(MagnitudeCurve({}), kTenSeconds).empty());

  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  const std::vector<AccelSample> samples = {
      {1000, 0.0, 0.5, 0.0},      // column 1, 0.5 g
      {0, 0.0, 0.0, 1.0},         // column 0, 1 g
      {500, kNaN, 0.0, 1.9},      // no number: left out
      {400, 0.0, 2.0, 0.0},       // column 0, 2 g
      {700, 0.0, 0.0, 1.5},       // column 0, between the two
      {10'000, 3.0, 0.0, 0.0},    // the last column, held at the top
      {10'001, 0.0, 0.0, 0.1},    // past the span
  };
  const std::vector<GMagnitude> curve = MagnitudeCurve(samples);
  EXPECT_EQ(WholeGraphPoints(curve, kTenSeconds), (std::vector<PlotPoint>{{0, 10}, {0, 0}, {1, 15}, {10, 0}}));
  EXPECT_EQ(WholeGraphTopG(curve), 3.0) << "the largest |G| rounded up";
  EXPECT_EQ(WholeGraphTopG({}), 2.0);
  EXPECT_EQ(WholeGraphLengthMs(5'000, curve), 10'001u) << "samples past a duration lengthen it";
  EXPECT_EQ(WholeGraphLengthMs(20'000, curve), 20'000u);
}

// Three hours at 100 Hz draw with at most two points per column of the span around the position, and a
// short spike still shows.
TEST(WholeGraph, ALongLogReducesToAtMostTwoPointsPerColumn) {
  constexpr std::uint32_t kLengthMs = 3 * 3'600'000;
  std::vector<AccelSample> samples;
  for (std::uint32_t ms = 0; ms <= kLengthMs; ms += 10) samples.push_back({ms, 0.0, 0.0, 1.0});
  samples[540'000].z = 3.7;  // at 5 400 000 ms, the middle
  const std::vector<GMagnitude> curve = MagnitudeCurve(samples);
  const WholeGraphArea area{VisibleSpan(kLengthMs, 5'400'000), kPlotWidth, 100, WholeGraphTopG(curve)};
  const std::vector<PlotPoint> points = WholeGraphPoints(curve, area);
  EXPECT_LE(points.size(), 2u * kPlotWidth);
  EXPECT_EQ(points.front().x, 0);
  EXPECT_EQ(points.back().x, kPlotWidth - 1);
  EXPECT_EQ(std::ranges::min(points, {}, &PlotPoint::y).y, area.RowOf(3.7));
}

TEST(WholeGraph, EventsWithinTheSpanAreMarkedAtTheirColumnsAndClicksGiveTheColumnsTimes) {
  const std::vector<DetectedEvent> events = {{.kind = DetectedEvent::Kind::HardBraking, .mediaMs = 3'000},
                                             {.kind = DetectedEvent::Kind::Impact, .mediaMs = 10'000},
                                             {.kind = DetectedEvent::Kind::SharpTurn, .mediaMs = 12'000}};
  EXPECT_EQ(WholeGraphMarks(events, kTenSeconds),
            (std::vector<WholeGraphMark>{{3, DetectedEvent::Kind::HardBraking}, {10, DetectedEvent::Kind::Impact}}));
  const WholeGraphArea later{{240'000, 360'000}, kPlotWidth, 100, 2.0};
  EXPECT_EQ((std::vector{later.MsAt(-5), later.MsAt(0), later.MsAt(230), later.MsAt(460), later.MsAt(500)}),
            (std::vector<std::uint32_t>{240'000, 240'000, 300'000, 360'000, 360'000}));
}

}  // namespace
}  // namespace vx
