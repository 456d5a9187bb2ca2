// The events window's rows from tables of recordings: order, texts, where playing starts, unreadable files.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "TestTime.h"
#include "ToolRunner.h"
#include "core/cardindex/EventRows.h"
#include "core/settings/SetupRecord.h"

namespace vx {
namespace {

using Kind = DetectedEvent::Kind;

RecordingSummary Recording(const char* path, std::int64_t startUtcMs, std::vector<DetectedEvent> events,
                           const char* problem = "") {
  RecordingSummary s;
  s.path = path;
  s.startUtcMs = startUtcMs;
  s.events = std::move(events);
  s.problem = problem;
  return s;
}

// The time column as the test reads it: the UTC milliseconds themselves.
std::string MsText(std::int64_t utcMs) { return std::to_string(utcMs); }

struct Expected {
  std::string time, kind, strength, place, recording, path;
  std::uint32_t playFromMs;
  bool unreadable;
};

TEST(EventRows, ListEveryEventInTimeOrderWithItsTextsAndLeadIn) {
  const std::vector<RecordingSummary> card = {
      Recording("/card/DCIM/b/20261206_081600_D02.MP4", 60'000,
                {{Kind::Impact, 4'999, 2.345, std::nullopt, std::nullopt},
                 {Kind::HardBraking, 7'500, 0.6, 52.123456, -13.000004}}),
      Recording("/card/DCIM/a/20261206_081500_D01.MP4", 0,
                {{Kind::SharpTurn, 59'000, 0.5, 1.0, 2.0}, {Kind::HardAcceleration, 30'000, 0.404, std::nullopt, 7.0}}),
      Recording("/card/EVENT/20261206_081500_E01.MP4", 0, {{Kind::CameraEvent, 0, 0.0, std::nullopt, std::nullopt}}),
      Recording("/card/DCIM/c/20261206_081700_D03.MP4", 61'000, {}, "This file contains no playable streams."),
      Recording("/card/DCIM/d/no-events.MP4", 10'000, {}),
  };
  const std::vector<Expected> expected = {
      {"0", "camera event", "", "", "20261206_081500_E01.MP4", "/card/EVENT/20261206_081500_E01.MP4", 0, false},
      {"30000", "hard acceleration", "0.40 g", "", "20261206_081500_D01.MP4", "/card/DCIM/a/20261206_081500_D01.MP4",
       25'000, false},
      {"59000", "sharp turn", "0.50 g", "1.00000, 2.00000", "20261206_081500_D01.MP4",
       "/card/DCIM/a/20261206_081500_D01.MP4", 54'000, false},
      {"61000", "This file contains no playable streams.", "", "", "20261206_081700_D03.MP4",
       "/card/DCIM/c/20261206_081700_D03.MP4", 0, true},
      {"64999", "impact", "2.35 g", "", "20261206_081600_D02.MP4", "/card/DCIM/b/20261206_081600_D02.MP4", 0, false},
      {"67500", "hard braking", "0.60 g", "52.12346, -13.00000", "20261206_081600_D02.MP4",
       "/card/DCIM/b/20261206_081600_D02.MP4", 2'500, false},
  };
  const std::vector<EventRow> rows = MakeEventRows(card, MsText);
  ASSERT_EQ(rows.size(), expected.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE(i);
    const EventRow& r = rows[i];
    const Expected& e = expected[i];
    EXPECT_EQ(r.time, e.time);
    EXPECT_EQ(r.kind, e.kind);
    EXPECT_EQ(r.strength, e.strength);
    EXPECT_EQ(r.place, e.place);
    EXPECT_EQ(r.recording, e.recording);
    EXPECT_EQ(r.recordingPath, e.path);
    EXPECT_EQ(r.playFromMs, e.playFromMs);
    EXPECT_EQ(r.unreadable, e.unreadable);
  }
}

// The time column is the card's clock: its setup.cfg's zone where there is one, else the computer's local time
// with the date, whatever the zone; before 1970 too.
TEST(EventRows, TellTheTimeInTheCardsZoneOrElseTheComputers) {
  const test::ScopedComputerZone zone("XYZ-2");  // two hours east of UTC
  EXPECT_EQ(LocalDateTimeText(1'796'000'000'999), "2026-11-30 02:53:20");
  EXPECT_EQ(LocalDateTimeText(-1), "1970-01-01 01:59:59");

  const test::TempDir card("event-rows-zone");
  std::vector<RecordingSummary> recordings(1);
  recordings[0].path = card / "DCIM/20261206_081500_D01.MP4";
  EXPECT_EQ(CardDateTimeText(recordings)(1'796'000'000'999), "2026-11-30 02:53:20");
  ASSERT_TRUE(WriteSetupRecord(card.Path().string(), MakeDefaultRecord(36)));  // UTC+09:00
  const EventTimeText cardClock = CardDateTimeText(recordings);
  EXPECT_EQ(cardClock(1'796'000'000'999), "2026-11-30 09:53:20");
  EXPECT_EQ(cardClock(INT64_MAX), "");
}

}  // namespace
}  // namespace vx
