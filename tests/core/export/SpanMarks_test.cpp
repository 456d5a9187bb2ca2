// The span marked on the window's time line: its marks, their UTC times across a trip's joins, the export's
// default name and its time left.
#include <gtest/gtest.h>

#include "core/export/SpanMarks.h"

namespace vx {
namespace {

TEST(SpanMarks, APointPastTheOtherDropsIt) {
  struct Case {
    std::vector<std::pair<char, std::int64_t>> presses;  // 'I' or 'O' at a moment
    std::optional<std::int64_t> in, out;
    bool exportable;
  };
  const std::vector<Case> cases = {
      {{}, std::nullopt, std::nullopt, false},
      {{{'I', 2'000}}, 2'000, std::nullopt, false},
      {{{'O', 9'000}}, std::nullopt, 9'000, false},
      {{{'I', 2'000}, {'O', 9'000}}, 2'000, 9'000, true},
      {{{'O', 9'000}, {'I', 2'000}}, 2'000, 9'000, true},
      {{{'I', 2'000}, {'O', 9'000}, {'I', 9'500}}, 9'500, std::nullopt, false},  // in past out
      {{{'I', 2'000}, {'O', 9'000}, {'O', 1'000}}, std::nullopt, 1'000, false},  // out before in
      {{{'I', 2'000}, {'O', 2'000}}, std::nullopt, 2'000, false},                // an empty span
      {{{'I', 2'000}, {'O', 9'000}, {'I', 3'000}}, 3'000, 9'000, true},
  };
  for (const Case& c : cases) {
    MarkedSpan span;
    for (const auto& [key, ms] : c.presses) key == 'I' ? span.SetIn(ms) : span.SetOut(ms);
    EXPECT_EQ(span.inMs, c.in) << c.presses.size();
    EXPECT_EQ(span.outMs, c.out) << c.presses.size();
    EXPECT_EQ(span.Problem().empty(), c.exportable) << span.Problem();
  }
}

TEST(SpanMarks, TimelineMomentsBecomeTheirRecordingsUtcTimes) {
  // Two recordings of 10 s, the second begun 1.5 s after the first ended: the gap is not on the time line.
  const std::vector<std::int64_t> starts = {1'000'000, 1'011'500};
  const TripTimeline trip({10'000, 10'000});
  struct Case {
    std::int64_t timelineMs;
    bool isEnd;
    std::int64_t utcMs;
  };
  const std::vector<Case> cases = {
      {0, false, 1'000'000},       {4'000, true, 1'004'000},  {12'000, false, 1'013'500},
      {10'000, false, 1'011'500},  // a start at the join is the next recording's first picture
      {10'000, true, 1'010'000},   // an end at the join is the first recording's end, never the gap
      {20'000, true, 1'021'500},   {0, true, 1'000'000},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(TimelineUtcMs(starts, trip, c.timelineMs, c.isEnd), c.utcMs) << c.timelineMs << " end " << c.isEnd;
  }
  EXPECT_EQ(TimelineUtcMs(std::vector<std::int64_t>{5'000}, TripTimeline({8'000}), 8'000, true), 13'000);
}

TEST(SpanMarks, DefaultNameIsTheRecordingAndTheSpansClockTimes) {
  constexpr std::int64_t kClock = 1'796'544'900'000;  // 2026-12-06 08:15:00 on the card's clock
  struct Case {
    std::string path;
    std::int64_t from, to;
    std::optional<std::int64_t> clock;
    std::string name;
  };
  const std::vector<Case> cases = {
      {"/card/DCIM/20261206_081500_E01.MP4", 5'000, 25'000, kClock, "20261206_081500_E01_081505-081525.mp4"},
      {"/card/20261206_081500_E01.MP4", -4'000, 6'500, kClock, "20261206_081500_E01_081456-081506.mp4"},
      {"/card/20261206_081500_E01.MP4", 59'999, 3'600'000, kClock, "20261206_081500_E01_081559-091500.mp4"},
      {"/home/u/clip.mov", 5'000, 75'000, std::nullopt, "clip_0m05s-1m15s.mp4"},
      {"/x/", 0, 1'000, std::nullopt, "export_0m00s-0m01s.mp4"},
  };
  for (const Case& c : cases) EXPECT_EQ(DefaultExportName(c.path, c.from, c.to, c.clock), c.name) << c.path;
}

TEST(SpanMarks, TimeLeftFollowsTheRateSoFar) {
  struct Case {
    std::int64_t done, total, elapsed;
    std::optional<std::int64_t> left;
    std::string text;
  };
  const std::vector<Case> cases = {
      {0, 20'000, 1'500, std::nullopt, "estimating the time left"},
      {5'000, 20'000, 2'000, 6'000, "about 6 s left"},
      {10'000, 20'000, 30'000, 30'000, "about 30 s left"},
      {1'000, 20'000, 7'000, 133'000, "about 2 min 13 s left"},
      {19'999, 20'000, 40'000, 2, "about 1 s left"},  // never "0 s" while something is left
      {20'000, 20'000, 9'000, 0, "about 0 s left"},
      {25'000, 20'000, 9'000, 0, "about 0 s left"},  // a stream longer than its header said
  };
  for (const Case& c : cases) {
    const std::optional<std::int64_t> left = ExportTimeLeftMs(c.done, c.total, c.elapsed);
    EXPECT_EQ(left, c.left) << c.done << " of " << c.total;
    EXPECT_EQ(TimeLeftText(left), c.text) << c.done << " of " << c.total;
  }
}

}  // namespace
}  // namespace vx
