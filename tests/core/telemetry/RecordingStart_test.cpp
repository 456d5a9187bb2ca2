// The start of a recording in UTC from its name: in the zone of the card's setup.cfg, else the computer's.
#include "core/telemetry/RecordingStart.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TestTime.h"
#include "ToolRunner.h"
#include "core/settings/SetupRecord.h"

namespace vx {
namespace {

using test::UtcSeconds;

// Central European rules in POSIX form: UTC+1, summer time UTC+2 from the last Sunday of March to October's.
constexpr const char* kBerlin = "CET-1CEST,M3.5.0,M10.5.0/3";

TEST(RecordingStart, NamesAreReadInTheCardsZoneOrElseTheComputersAtThatTime) {
  const test::TempDir card("recording-start");
  const test::ScopedComputerZone zone(kBerlin);
  struct Case {
    const char* path;          // below the card
    std::optional<std::int16_t> setupQuarterHours;  // a setup.cfg at the card's root
    std::optional<std::tuple<std::int64_t, int, bool>> start;
  };
  const Case cases[] = {
      {"DCIM/Movie/20261206_081500_D01.MP4", 36, {{UtcSeconds(2026, 12, 5, 23, 15), 540, true}}},
      {"DCIM/Movie/20261206_081500_D01.MP4", 40, {{UtcSeconds(2026, 12, 5, 22, 15), 600, true}}},  // summer time
      {"Normal/2026_0706_081500_001F.MP4", std::nullopt, {{UtcSeconds(2026, 7, 6, 6, 15), 120, false}}},
      {"Normal/2026_1206_081500_001F.MP4", std::nullopt, {{UtcSeconds(2026, 12, 6, 7, 15), 60, false}}},
      {"a/b/c/d/20261206_081500_D01.MP4", -20, {{UtcSeconds(2026, 12, 6, 7, 15), 60, false}}},  // too deep
      {"DCIM/Movie/MOVI0001.MP4", 36, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::filesystem::remove(card / kSetupFileName);
    if (c.setupQuarterHours) {
      ASSERT_TRUE(WriteSetupRecord(card.Path().string(), MakeDefaultRecord(*c.setupQuarterHours)));
    }
    const std::filesystem::path recording = card / c.path;
    std::filesystem::create_directories(recording.parent_path());
    std::ofstream(recording) << "video";
    const auto start = RecordingStartOf(recording.string());
    const auto read = start ? std::optional(std::tuple(start->utcSeconds, start->zone.offsetMinutes,
                                                       start->zone.fromSetupFile))
                            : std::nullopt;
    EXPECT_EQ(read, c.start);
  }
  EXPECT_EQ(NamingZoneText({-210, false}), "UTC-03:30, this computer's zone");
  EXPECT_EQ(NamingZoneText({540, true}), "UTC+09:00, setup.cfg");
}

}  // namespace
}  // namespace vx
