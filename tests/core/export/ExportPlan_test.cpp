// The export plan: spans cut into pieces across a trip, event spans, span times and key-frame widening.
#include <gtest/gtest.h>

#include "core/export/ExportPlan.h"

namespace vx {
namespace {

constexpr std::int64_t kStart = 1'765'008'900'000;  // 2025-12-06T08:15:00Z

RecordingSummary Recording(const std::string& path, std::int64_t startUtcMs, std::uint32_t durationMs) {
  RecordingSummary r;
  r.path = path;
  r.startUtcMs = startUtcMs;
  r.durationMs = durationMs;
  return r;
}

// Two recordings of one trip (the second starts 1 s after the first ends) and one of another drive.
const std::vector<RecordingSummary> kCard = {Recording("a", kStart, 10'000), Recording("b", kStart + 11'000, 10'000),
                                             Recording("c", kStart + 3'600'000, 10'000)};

TEST(ExportPlan, CutsSpansIntoPiecesOfTheTrip) {
  struct Case {
    std::int64_t from, to;
    std::vector<std::tuple<std::string, std::uint32_t, std::uint32_t>> pieces;
    std::string problemPart;
  };
  const std::vector<Case> cases = {
      {2'000, 8'000, {{"a", 2'000, 8'000}}, ""},
      {8'000, 14'000, {{"a", 8'000, 10'000}, {"b", 0, 3'000}}, ""},  // crosses the files, leaves the gap out
      {0, 21'000, {{"a", 0, 10'000}, {"b", 0, 10'000}}, ""},
      {15'000, 22'000, {}, "runs past the recordings"},
      {-1'000, 5'000, {}, "runs past the recordings"},
      {5'000, 5'000, {}, "ends before it starts"},
      {10'200, 10'800, {}, "between two recordings"},
  };
  const std::vector<RecordingSummary> chain = ChainOf(kCard, "b");
  ASSERT_EQ(chain.size(), 2u);
  for (const Case& c : cases) {
    const ExportPlan plan = PlanExport(chain, {kStart + c.from, kStart + c.to});
    SCOPED_TRACE(std::to_string(c.from) + ".." + std::to_string(c.to));
    EXPECT_NE(plan.problem.find(c.problemPart), std::string::npos) << plan.problem;
    EXPECT_EQ(plan.problem.empty(), c.problemPart.empty());
    ASSERT_EQ(plan.pieces.size(), c.pieces.size());
    for (std::size_t i = 0; i < c.pieces.size(); ++i) {
      EXPECT_EQ(plan.pieces[i].path, std::get<0>(c.pieces[i]));
      EXPECT_EQ(plan.pieces[i].fromMs, std::get<1>(c.pieces[i]));
      EXPECT_EQ(plan.pieces[i].toMs, std::get<2>(c.pieces[i]));
    }
  }
  EXPECT_EQ(ChainOf(kCard, "c").size(), 1u);  // another drive is not crossed into
  EXPECT_TRUE(ChainOf(kCard, "x").empty());
}

TEST(ExportPlan, FindsThePieceOfAnOutputMoment) {
  const ExportPlan plan = PlanExport(ChainOf(kCard, "a"), {kStart + 8'000, kStart + 14'000});
  const std::vector<std::tuple<std::int64_t, std::string, std::uint32_t>> cases = {
      {0, "a", 8'000}, {1'999, "a", 9'999}, {2'000, "b", 0}, {5'000, "b", 3'000}, {9'000, "b", 3'000}};
  EXPECT_EQ(plan.DurationMs(), 5'000);
  EXPECT_EQ(plan.JoinedSpanMs(), std::make_pair(std::int64_t{8'000}, std::int64_t{13'000}));
  for (const auto& [outputMs, path, mediaMs] : cases) {
    const auto [piece, at] = plan.PieceAt(outputMs);
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(piece->path, path) << outputMs;
    EXPECT_EQ(at, mediaMs) << outputMs;
  }
}

TEST(ExportPlan, EventSpanIsTenSecondsEachSideWithinTheRecordings) {
  const std::vector<RecordingSummary> chain = ChainOf(kCard, "a");
  const std::vector<std::tuple<std::int64_t, std::int64_t, std::int64_t>> cases = {
      {3'000, 0, 13'000}, {12'000, 2'000, 21'000}, {19'000, 9'000, 21'000}};
  for (const auto& [event, from, to] : cases) {
    const ExportSpan span = EventSpan(chain, kStart + event);
    EXPECT_EQ(span.fromUtcMs - kStart, from) << event;
    EXPECT_EQ(span.toUtcMs - kStart, to) << event;
  }
}

TEST(ExportPlan, ParsesSpanTimes) {
  const std::vector<std::tuple<std::string, std::optional<int>, std::optional<std::int64_t>>> cases = {
      {"2025-12-06T08:15:03Z", 540, kStart + 3'000},
      {"2025-12-06T17:15:03", 540, kStart + 3'000},       // the card's zone where the time states none
      {"2025-12-06T08:15:03", std::nullopt, kStart + 3'000},  // UTC where the card's zone is unknown
      {"2025-12-06 10:15:03.25+02:00", 540, kStart + 3'250},
      {"2025-12-06T03:45:03-0430", std::nullopt, kStart + 3'000},
      {"12.5", 540, kStart + 12'500},
      {"0", 540, kStart},
      {"2025-02-30T08:15:03", 0, std::nullopt},
      {"2025-12-06T08:15:03+9", 0, std::nullopt},
      {"2025-12-06T25:15:03", 0, std::nullopt},
      {"-3", 0, std::nullopt},
      {"12s", 0, std::nullopt},
      {"", 0, std::nullopt},
  };
  for (const auto& [text, zone, expected] : cases) EXPECT_EQ(ParseSpanTime(text, zone, kStart), expected) << text;
}

TEST(ExportPlan, StatesKeyFrameWidening) {
  const std::vector<std::tuple<ExportSpan, std::string>> cases = {
      {{1'000, 5'000}, "as marked"},
      {{0, 5'000}, "widened to whole key-frame intervals: starts 1.00 s earlier"},
      {{250, 5'500}, "widened to whole key-frame intervals: starts 0.75 s earlier, ends 0.50 s later"},
  };
  for (const auto& [written, text] : cases) EXPECT_EQ(WideningText({1'000, 5'000}, written), text);
}

}  // namespace
}  // namespace vx
