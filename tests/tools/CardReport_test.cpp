// The trips and events vx880-telemetry prints for the demo card the card maker writes.
#include <gtest/gtest.h>

#include <algorithm>

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
  EXPECT_EQ(trips.status, 1);
  const std::vector<std::string> tripRows = Lines(trips.out);
  ASSERT_FALSE(tripRows.empty());
  EXPECT_EQ(tripRows[0], "start_utc,end_utc,recordings,distance_m,max_kmh");
  // The morning: two drive recordings and the event recording that carries on from them.
  EXPECT_EQ(RowsWith(tripRows, "2026-12-05T23:15:00.000Z,2026-12-05T23:15:30.000Z,3,"), 1u) << trips.out;

  const ToolOutput events = RunTool(Tool("vx880-telemetry") + " --events " + Quote(card));
  EXPECT_EQ(events.status, 1);
  const std::vector<std::string> eventRows = Lines(events.out);
  ASSERT_FALSE(eventRows.empty());
  EXPECT_EQ(eventRows[0], "utc,file,offset_ms,kind,peak_g,latitude,longitude");
  EXPECT_GE(RowsWith(eventRows, ",hard braking,"), 1u) << events.out;
  EXPECT_GE(RowsWith(eventRows, ",impact,"), 1u) << events.out;
  EXPECT_EQ(RowsWith(eventRows, "_E01.MP4,0,camera event,"), 1u) << events.out;
}

}  // namespace
}  // namespace vx::test
