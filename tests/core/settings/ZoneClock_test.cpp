// The zone table, the computer's standard zone and the camera clock, in fixed computer zones (POSIX TZ rules,
// so that no time-zone database is needed).
#include "core/settings/TimeZones.h"
#include "core/settings/ZoneClock.h"

#include <gtest/gtest.h>

#include "TestTime.h"

#include <atomic>
#include <optional>
#include <thread>

namespace vx {
namespace {

using test::ScopedComputerZone;
using test::UtcSeconds;

int TableOffset(std::size_t index) { return TimeZoneTable()[index].offsetMinutes; }

// The file stores quarter hours, so zones at half and three-quarter hours must come back whole.
TEST(TimeZoneTable, ThirtyTwoZonesWithDistinctLabelsAndQuarterHours) {
  ASSERT_EQ(TimeZoneTable().size(), 32u);
  EXPECT_EQ(ZoneLabel(TimeZoneTable()[22]), "(GMT+05:45)");
  EXPECT_EQ(ZoneQuarterHours(TableOffset(22)), 23);
  for (std::size_t i = 0; i < 32; ++i) {
    EXPECT_EQ(ZoneIndexOfLabel(ZoneLabel(TimeZoneTable()[i])), i);
    EXPECT_EQ(ZoneOffsetMinutes(ZoneQuarterHours(TableOffset(i))), TableOffset(i)) << i;
  }
}

TEST(ComputerZone, ItsStandardOffsetPicksTheTableZoneWhicheverOffsetTheZoneFlagsAsSummerTime) {
  struct Case {
    const char* tz;
    std::int64_t utc;
    const char* label;
    std::optional<std::size_t> index;
  };
  const Case cases[] = {
      {"KST-9", UtcSeconds(2024, 5, 1, 4, 5, 9), "(GMT+09:00) KST", 27},
      {"<-0330>3:30", UtcSeconds(2024, 1, 10, 2, 0), "(GMT-03:30) -0330", 9},
      {"<+0845>-8:45", UtcSeconds(2024, 1, 1, 0, 0), "(GMT+08:45) +0845", std::nullopt},  // not in the table
      {"CET-1CEST,M3.5.0,M10.5.0/3", UtcSeconds(2024, 7, 15, 10, 0), "(GMT+01:00) CET", 14},
      {"ACST-9:30ACDT,M10.1.0,M4.1.0/3", UtcSeconds(2024, 1, 15, 10, 0), "(GMT+09:30) ACST", 28},
      // Irish rule of the zone database: IST (UTC+1) is standard time, winter's GMT is flagged as summer time.
      {"IST-1GMT0,M10.5.0,M3.5.0/1", UtcSeconds(2024, 7, 15, 10, 0), "(GMT 00:00) GMT", 13},
      {"IST-1GMT0,M10.5.0,M3.5.0/1", UtcSeconds(2024, 1, 15, 10, 0), "(GMT 00:00) GMT", 13},
  };
  for (const Case& c : cases) {
    const ScopedComputerZone zone(c.tz);
    const ComputerZone computer = StandardComputerZone(c.utc);
    EXPECT_EQ(ComputerZoneLabel(computer), c.label) << c.tz;
    EXPECT_EQ(ZoneIndexOfLabel(ComputerZoneLabel(computer)), c.index) << c.tz;
  }
  // Where the zone keeps no summer time, its table zone's clock is the computer's local time.
  EXPECT_EQ(ClockText(ZoneTimeAt(cases[0].utc, TableOffset(27))), "2024-05-01, 13 : 05 : 09\r\n");
}

TEST(ZoneTime, DaysCarryIntoMonthsAndYearsBothWays) {
  const struct {
    std::int64_t utc;
    int offsetMinutes;
    ZoneTime time;
  } cases[] = {
      {UtcSeconds(2023, 12, 31, 14, 30), 600, {2024, 1, 1, 0, 30, 0}},
      {UtcSeconds(2024, 2, 28, 14, 30), 600, {2024, 2, 29, 0, 30, 0}},
      {UtcSeconds(2100, 2, 28, 14, 30), 600, {2100, 3, 1, 0, 30, 0}},  // no leap day in 2100
      {UtcSeconds(2024, 1, 1, 5, 0), -210, {2024, 1, 1, 1, 30, 0}},
      {UtcSeconds(2024, 1, 1, 1, 0), -210, {2023, 12, 31, 21, 30, 0}},
      {UtcSeconds(1969, 12, 31, 23, 59, 59), 0, {1969, 12, 31, 23, 59, 59}},
  };
  for (const auto& c : cases) EXPECT_EQ(ZoneTimeAt(c.utc, c.offsetMinutes), c.time) << c.utc;
}

TEST(ClockText, IsShownWithTheZoneLabelAndOnlyWhenItMovesForward) {
  EXPECT_EQ(ClockDisplay("2024-05-01, 13 : 05 : 09\r\n", "(GMT+09:00)"), "2024-05-01, 13 : 05 : 09 (GMT+09:00)");
  ClockTextGate gate;
  const std::int64_t t = UtcSeconds(2024, 5, 1, 4, 5, 9);
  EXPECT_TRUE(gate.Pass(ClockText(ZoneTimeAt(t, 540))));
  EXPECT_FALSE(gate.Pass(ClockText(ZoneTimeAt(t, 540)))) << "the same second again";
  // Changing to a zone further west: its first text sorts before the last one and is not sent; the next
  // step of that zone's own clock is.
  EXPECT_FALSE(gate.Pass(ClockText(ZoneTimeAt(t + 1, 0))));
  EXPECT_TRUE(gate.Pass(ClockText(ZoneTimeAt(t + 2, 0))));
}

TEST(CZoneClock, ASnapshotIsNeverHalfOfOneTickAndHalfOfAnother) {
  // Every field differs between the two moments, so a torn read cannot pass for either.
  const std::int64_t before = UtcSeconds(2023, 12, 31, 23, 59, 59);
  const std::int64_t after = before + 1;
  CZoneClock clock(0);
  clock.Tick(before);
  std::atomic<bool> stop{false};
  std::thread ticker([&] {
    for (int i = 0; !stop; ++i) clock.Tick(i % 2 ? before : after);
  });
  for (int i = 0; i < 200000; ++i) {
    const ZoneTime t = clock.Snapshot();
    if (t != ZoneTimeAt(before, 0) && t != ZoneTimeAt(after, 0)) {
      ADD_FAILURE() << "torn snapshot " << ClockText(t);
      break;
    }
  }
  stop = true;
  ticker.join();

  clock.SetOffsetMinutes(540);
  clock.Tick(before);
  EXPECT_EQ(clock.Snapshot(), ZoneTimeAt(before, 540));
  clock.SetOffsetMinutes(0);
  EXPECT_EQ(clock.Snapshot(), ZoneTimeAt(before, 0)) << "a zone change applies to the last tick at once";
}

}  // namespace
}  // namespace vx
