// The trips and events vx880-telemetry prints for the demo card the card maker writes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "ToolRunner.h"

namespace vx::test {
namespace {

std::size_t RowsWith(const std::vector<std::string>& rows, const std::string& text) {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [&](const std::string& row) { return row.find(text) != std::string::npos; }));
}

TEST(CardReport, ListsTheDemoCardsTripsAndEvents) {
  const TempDir dir("card-report");
  const std::string card = dir / "card";
  ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " " + Quote(card) + " >/dev/null").status, 0);

  // The card's recording cut short by a power loss cannot be read: it is named and the status says so.
  const ToolOutput trips = RunTool(Tool("vx880-telemetry") + " --trips " + Quote(card));
  const ToolOutput events = RunTool(Tool("vx880-telemetry") + " --events " + Quote(card));
  EXPECT_EQ(std::pair(trips.status, events.status), std::pair(1, 1));
  const std::vector<std::string> tripRows = Lines(trips.out), eventRows = Lines(events.out);
  ASSERT_FALSE(tripRows.empty() || eventRows.empty());
  EXPECT_EQ(tripRows[0], "start_utc,end_utc,recordings,distance_m,max_kmh");
  EXPECT_EQ(eventRows[0], "utc,file,offset_ms,kind,peak_g,latitude,longitude");
  // The morning: two drive recordings and the event recording that carries on from them.
  EXPECT_EQ(RowsWith(tripRows, "2026-12-05T23:15:00.000Z,2026-12-05T23:15:30.000Z,3,"), 1u) << trips.out;
  EXPECT_GE(RowsWith(eventRows, ",hard braking,"), 1u) << events.out;
  EXPECT_GE(RowsWith(eventRows, ",impact,"), 1u) << events.out;
  EXPECT_EQ(RowsWith(eventRows, "_E01.MP4,0,camera event,"), 1u) << events.out;
}

// Two recordings 15 s apart: two trips by default, one with a gap of 20 s; a gap outside 0..600 s or without
// --trips is a usage error.
TEST(CardReport, TripsJoinAcrossTheGapGiven) {
  const TempDir dir("card-report-gap");
  const std::string folder = dir / "DCIM/100DRIVE";
  std::filesystem::create_directories(folder);
  for (const char* name : {"20261206_081500_D01.MP4", "20261206_081520_D02.MP4"}) {
    ASSERT_EQ(RunTool(Tool("vx880-mkcard") + " --file " + Quote(folder + "/" + name) + " --seconds 5 >/dev/null").status, 0);
  }
  const struct {
    const char* options;
    int status;
    std::size_t trips;
  } cases[] = {
      {"--trips", 0, 2}, {"--trips --gap 20", 0, 1}, {"--trips --gap 601", 2, 0}, {"--events --gap 20", 2, 0},
  };
  for (const auto& c : cases) {
    const ToolOutput run = RunTool(Tool("vx880-telemetry") + " " + c.options + " " + Quote(dir.Path().string()));
    EXPECT_EQ(run.status, c.status) << c.options;
    if (c.status == 0) {
      EXPECT_EQ(Lines(run.out).size(), c.trips + 1) << c.options << "\n" << run.out;
    }
  }
}

}  // namespace
}  // namespace vx::test
