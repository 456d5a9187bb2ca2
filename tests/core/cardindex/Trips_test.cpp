// Trips from tables of recording times: gaps, overlaps, a clock set back, any input order.
#include <gtest/gtest.h>

#include "core/cardindex/Trips.h"

namespace vx {
namespace {

struct Rec {
  const char* path;
  std::int64_t startS;
  std::uint32_t seconds;
};

struct Case {
  const char* name;
  std::vector<Rec> recordings;
  std::vector<std::vector<std::string>> trips;
};

constexpr std::int64_t kMorning = 1'796'000'000;  // seconds since 1970, a day in 2026
constexpr std::int64_t kYear2000 = 946'684'800;

TEST(Trips, JoinRecordingsThatFollowEachOther) {
  const Case cases[] = {
      {"back to back", {{"a", kMorning, 60}, {"b", kMorning + 60, 60}, {"c", kMorning + 120, 60}}, {{"a", "b", "c"}}},
      {"any order", {{"c", kMorning + 120, 60}, {"a", kMorning, 60}, {"b", kMorning + 60, 60}}, {{"a", "b", "c"}}},
      {"gap of 5 s joins, 6 s splits", {{"a", kMorning, 60}, {"b", kMorning + 65, 60}, {"c", kMorning + 131, 60}},
       {{"a", "b"}, {"c"}}},
      {"a fraction of a second's overlap is the name's rounding",
       {{"a", kMorning, 61}, {"b", kMorning + 60, 60}}, {{"a", "b"}}},
      {"overlapping recordings are never joined", {{"a", kMorning, 60}, {"b", kMorning + 30, 60}}, {{"a"}, {"b"}}},
      {"a clock set back does not break the trip it overlaps",
       {{"a", kMorning, 60}, {"reset", kMorning + 30, 60}, {"b", kMorning + 60, 60}}, {{"a", "b"}, {"reset"}}},
      {"camera reset to 2000", {{"a", kMorning, 60}, {"x", kYear2000, 60}, {"y", kYear2000 + 60, 60}},
       {{"x", "y"}, {"a"}}},
      {"nothing", {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<RecordingSummary> records;
    for (const Rec& r : c.recordings) {
      RecordingSummary s;
      s.path = r.path;
      s.startUtcMs = r.startS * 1000;
      s.durationMs = r.seconds * 1000;
      records.push_back(s);
    }
    std::vector<std::vector<std::string>> got;
    for (const Trip& t : GroupTrips(records)) got.push_back(t.recordings);
    EXPECT_EQ(got, c.trips);
  }
}

TEST(Trips, AddUpTheirRecordings) {
  std::vector<RecordingSummary> records(2);
  records[0].path = "a", records[0].startUtcMs = 1000, records[0].durationMs = 60000;
  records[0].distanceM = 500, records[0].maxSpeedKmh = 40;
  records[1].path = "b", records[1].startUtcMs = 62000, records[1].durationMs = 30000;
  records[1].distanceM = 250, records[1].maxSpeedKmh = 70;
  const std::vector<Trip> trips = GroupTrips(records);
  ASSERT_EQ(trips.size(), 1u);
  EXPECT_EQ(trips[0].startUtcMs, 1000);
  EXPECT_EQ(trips[0].endUtcMs, 92000);
  EXPECT_EQ(trips[0].durationMs, 91000);
  EXPECT_DOUBLE_EQ(trips[0].distanceM, 750);
  EXPECT_DOUBLE_EQ(trips[0].maxSpeedKmh, 70);
}

}  // namespace
}  // namespace vx
