// Tests of the trip's time line: trip time to recording and back around the joins, lengths corrected once
// a recording is opened, and the trip's telemetry as one track.
#include "core/player/TripTimeline.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

GpsSample Fix(std::uint32_t mediaMs, double latitude) {
  GpsSample fix;
  fix.mediaMs = mediaMs;
  fix.valid = true;
  fix.latitude = latitude;
  return fix;
}

TEST(TripTimeline, TripTimeLandsInTheRecordingThatPlaysThen) {
  const TripTimeline trip({3000, 0, 2500, 4000});
  EXPECT_EQ(trip.TotalMs(), 9500);
  struct Case {
    std::int64_t tripMs;
    TripMoment moment;
  };
  for (const Case c : {Case{-20, {0, 0}}, {0, {0, 0}}, {2999, {0, 2999}},
                       // A join is the next recording's first picture; one of no length is passed over.
                       {3000, {2, 0}}, {5499, {2, 2499}}, {5500, {3, 0}}, {9499, {3, 3999}},
                       // The end and past it: the last recording's end.
                       {9500, {3, 4000}}, {12000, {3, 4000}}}) {
    EXPECT_EQ(trip.Locate(c.tripMs), c.moment) << c.tripMs;
    if (c.tripMs >= 0 && c.tripMs <= 9500) {
      EXPECT_EQ(trip.TripMs(c.moment.file, c.moment.fileMs), c.tripMs);
    }
  }
  // A moment held within its recording; an index past the last is the trip's end.
  EXPECT_EQ(trip.TripMs(0, 5000), 3000);
  EXPECT_EQ(trip.TripMs(2, -5), 3000);
  EXPECT_EQ(trip.TripMs(7, 10), 9500);
  EXPECT_EQ(TripTimeline().Locate(100), TripMoment{});
  EXPECT_EQ(TripTimeline().TotalMs(), 0);
}

TEST(TripTimeline, AMeasuredLengthMovesTheRecordingsAfterIt) {
  TripTimeline trip({3000, 3000, 3000});
  trip.SetDurationMs(1, 3033);
  EXPECT_EQ(trip.StartMs(2), 6033);
  EXPECT_EQ(trip.TotalMs(), 9033);
  EXPECT_EQ(trip.Locate(6032), (TripMoment{1, 3032}));
  EXPECT_EQ(trip.Locate(6033), (TripMoment{2, 0}));
}

TEST(TripTimeline, NextAndPreviousStepThroughTheTripsRecordings) {
  const TripTimeline trip({3000, 0, 2500, 4000});
  struct Case {
    std::size_t file;
    bool forward;
    std::optional<std::size_t> to;
  };
  for (const Case c : {Case{0, true, 2}, {2, true, 3}, {3, false, 2}, {2, false, 0}, {1, false, 0},
                       // Past either end the trip has nothing to step to.
                       {3, true, std::nullopt}, {0, false, std::nullopt}, {9, true, std::nullopt}}) {
    EXPECT_EQ(trip.StepFile(c.file, c.forward), c.to) << c.file << (c.forward ? " NEXT" : " PREV");
  }
  EXPECT_EQ(TripTimeline({2000, 0}).StepFile(0, true), std::nullopt);
  EXPECT_EQ(TripTimeline().StepFile(0, false), std::nullopt);
}

TEST(TripTimeline, TelemetryJoinsOnTheTripsTime) {
  const TripTimeline trip({3000, 2000, 4000});
  TelemetryTrack first{"VX-880QN log", {}, {{0, 0.1, 0.2, 1.0}, {2900, 0, 0, 1}}, ""};
  first.gps.push_back(Fix(1000, 37.5));
  TelemetryTrack none;  // a recording without telemetry keeps its place on the time line
  TelemetryTrack third{"VX-880QN log", {}, {{500, 0, 0, 1}}, "cut short"};
  third.gps.push_back(Fix(0, 37.6));
  const TelemetryTrack joined = JoinTripTelemetry({first, none, third}, trip);
  EXPECT_EQ(joined.layout, "VX-880QN log");
  EXPECT_EQ(joined.warning, "cut short");
  ASSERT_EQ(joined.accel.size(), 3u);
  EXPECT_EQ(joined.accel[1].mediaMs, 2900u);
  EXPECT_EQ(joined.accel[2].mediaMs, 5500u);
  ASSERT_EQ(joined.gps.size(), 2u);
  EXPECT_EQ(joined.gps[1].mediaMs, 5000u);
  EXPECT_DOUBLE_EQ(joined.gps[1].latitude, 37.6);
}

}  // namespace
}  // namespace vx
