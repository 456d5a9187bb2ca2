// Tests of what the map page is told (page, fix, C-locale call texts, track, parsed script calls, page seeks)
// and of the acceleration plot's arithmetic.
#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "core/views/MapPosition.h"
#include "core/views/PlotGeometry.h"
#include "core/views/ScriptCall.h"

namespace vx {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

GpsSample Fix(std::uint32_t time, double lat, double lon, bool valid = true) {
  return {time, std::nullopt, valid, lat, lon, std::nullopt, 41.4848, 84.4};
}

TEST(MapPage, LanguageIndexChoosesThePageAndOthersGetTheEnglishOne) {
  EXPECT_EQ(MapPageFile(0), "MapView.htm");
  EXPECT_EQ(MapPageFile(4), "MapView_Tw.htm");
  for (const int outside : {-1, 5}) EXPECT_EQ(MapPageFile(outside), "MapView_En.htm") << outside;
}

// A recording has a place to show when any of its fixes is valid; a position shows the first fix at or
// after it, and only a valid one is sent.
TEST(MapPosition, PositionSelectsTheFirstFixAtOrAfterItAndOnlyAValidOneIsSent) {
  const std::vector<GpsSample> fixes = {Fix(1000, 37.5, 127.0), Fix(2000, 37.51, 127.01, false),
                                        Fix(3000, 37.52, 127.02)};
  const std::span all(fixes);
  EXPECT_EQ(std::tuple(HasValidFix({}), HasValidFix(all.subspan(1, 1)), HasValidFix(all.subspan(1))),
            std::tuple(false, false, true));
  for (const auto& [position, index] : {std::pair{0u, 0}, {1000u, 0}, {1001u, 1}, {3000u, 2}, {3001u, -1}}) {
    EXPECT_EQ(FixAtOrAfter(fixes, position), index < 0 ? nullptr : &fixes[index]) << position;
  }
  EXPECT_TRUE(MapCallsForPosition(fixes, 1000));
  EXPECT_FALSE(MapCallsForPosition(fixes, 1500)) << "the fix found is not valid";
  EXPECT_FALSE(MapCallsForPosition(fixes, 3001));
}

TEST(MapPosition, CallTextsInDecimalDegreesLongitudeFirstInTheCLocale) {
  // A locale with a decimal comma must not change the texts (when the machine has one).
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  GpsSample fix = Fix(0, 37.508333333, 127.0);
  EXPECT_EQ(DrawCurrentText(fix), "javascript:DrawCurrent('127.000000', '37.508333')");
  EXPECT_EQ(DrawMotionText(fix), "javascript:DrawMotion('41.484800', '84.400000')");
  EXPECT_EQ(DrawCurrentText(Fix(0, -37.508333333, -121.983333333)),
            "javascript:DrawCurrent('-121.983333', '-37.508333')");
  fix.headingDeg.reset();
  EXPECT_EQ(DrawMotionText(fix), "javascript:DrawMotion('41.484800', '0.000000')") << "no heading points north";
  std::setlocale(LC_ALL, previous.c_str());
}

// The track holds valid fixes on the globe only; event marks name kind and strength and need a place.
TEST(MapPosition, TrackAndEventMarksHoldOnlyWhatHasAPlace) {
  std::vector<GpsSample> fixes;
  EXPECT_EQ(DrawTrackJavaScript(fixes), "if(typeof DrawTrack==='function')DrawTrack([]);");
  fixes = {Fix(1000, 37.508333333, 127.0), Fix(2000, 37.5, 127.0, false),
           Fix(3000, 91.5, 127.0),  // latitude past the pole
           Fix(4000, kInf, 127.0), Fix(5000, 37.5, 127.0), Fix(6000, -37.508333333, -58.5)};
  fixes[4].speedKmh = std::nan("");
  fixes[5].headingDeg.reset();
  EXPECT_EQ(DrawTrackJavaScript(fixes),
            "if(typeof DrawTrack==='function')DrawTrack([[127.000000,37.508333,41.5,84.4,1000],"
            "[-58.500000,-37.508333,41.5,0.0,6000]]);");
  using Kind = DetectedEvent::Kind;
  const std::vector<DetectedEvent> events = {{Kind::HardBraking, 3000, 0.6, 37.508333333, 127.0},
                                             {Kind::Impact, 4000, 2.1, std::nullopt, std::nullopt},
                                             {Kind::SharpTurn, 5000, 0.5, std::nan(""), 127.0},
                                             {Kind::CameraEvent, 6000, 0.0, -33.5, -70.5}};
  EXPECT_EQ(DrawEventsJavaScript(events),
            "if(typeof DrawEvents==='function')DrawEvents([[127.000000,37.508333,\"hard braking 0.60 g\"],"
            "[-70.500000,-33.500000,\"camera event\"]]);");
}

TEST(MapPosition, PageSeekIsAWholeMillisecondWithinTheDuration) {
  for (const auto& [asked, target] : {std::pair{0.0, 0}, {2500.9, 2500}, {10000.0, 10000}}) {
    EXPECT_EQ(PageSeekTarget(asked, 10000), target) << asked;
  }
  for (const double refused : {10000.5, -1.0, std::nan(""), kInf}) EXPECT_FALSE(PageSeekTarget(refused, 10000));
  EXPECT_FALSE(PageSeekTarget(0, 0)) << "no duration known";
}

std::pair<std::string, std::vector<std::string>> Parsed(std::string_view text) {
  const ScriptCall call = ParseScriptCall(text);
  return {call.function, call.arguments};
}

TEST(ScriptCall, NameBeforeTheFirstParenthesisAndArgumentsBetweenSeparatorsEvenInQuotes) {
  using Call = std::pair<std::string, std::vector<std::string>>;
  const std::pair<const char*, Call> cases[] = {
      {"javascript:DrawCurrent('127.123456', '37.123456')", {"DrawCurrent", {"127.123456", "37.123456"}}},
      {"  DrawCurrent ( 1 , 2 );  ", {"DrawCurrent", {"1", "2"}}},  // prefix optional, name trimmed
      {"javascript:DrawCurrent()", {"DrawCurrent", {}}},
      {"javascript:DrawCurrent('a b')", {"DrawCurrent", {"a", "b"}}},
      {"f('',,\t\"\" ;x;)", {"f", {"x"}}},  // empty quotes and doubled commas
      // Only the first prefix is cut and only the first parenthesis opens the arguments.
      {"xx javascript:g(h(1), javascript:2)", {"g", {"h", "1", "javascript:2"}}},
      {"JavaScript:f(1)", {"JavaScript:f", {"1"}}},  // the prefix is case-sensitive
  };
  for (const auto& [text, call] : cases) EXPECT_EQ(Parsed(text), call) << text;
  // No parenthesis, or nothing before it: no function, so nothing is called.
  for (const char* text : {"javascript:DrawCurrent", "", "(1)"}) EXPECT_EQ(ParseScriptCall(text).function, "");
}

// The traces pass through the axes' worked figures: x 230 at 30 s, 460 at 60 s; y 0 at 4 g, 159 at -3.96875 g,
// 60 at 1 g and 79 at 1/32 g (79.375 truncated); values far off the plot or no number stay off it. The axes
// reach beyond the traces, and the marker needs a position.
TEST(PlotGeometry, PointsFollowTheAxesAndTracesStartAtTheCentreAndStopAfterAMinute) {
  for (const auto& [time, x] : {std::pair{59999u, 459}, {60130u, 460}, {60131u, 461}, {4294967295u, 32928082}}) {
    EXPECT_EQ(PlotX(time), x) << time;
  }
  EXPECT_EQ((std::vector{PlotMarkerX(0), PlotMarkerX(1), PlotMarkerX(60131)}),
            (std::vector<std::optional<int>>{std::nullopt, 0, 461}));
  std::vector<AccelSample> samples;
  EXPECT_EQ(TracePoints(samples, PlotAxis::X), (std::vector<PlotPoint>{{0, 80}}));
  samples = {{30000, 4.0, -3.96875, 0.0},
             {60001, 0.0, 0.0, 0.0},
             {60000, -3.96875, 4.0, 1.0},
             {100, 1 / 32.0, 1 / 32.0, 1 / 32.0},  // out of time order: drawn in array order
             {200, 1e300, -1e300, std::nan("")}};
  EXPECT_EQ(TracePoints(samples, PlotAxis::X),
            (std::vector<PlotPoint>{{0, 80}, {230, 0}, {460, 159}, {0, 79}, {1, -160}}));
  EXPECT_EQ(TracePoints(samples, PlotAxis::Y),
            (std::vector<PlotPoint>{{0, 80}, {230, 159}, {460, 0}, {0, 79}, {1, 320}}));
  EXPECT_EQ(TracePoints(samples, PlotAxis::Z), (std::vector<PlotPoint>{{0, 80}, {230, 80}, {460, 60}, {0, 79}}));
}

}  // namespace
}  // namespace vx
