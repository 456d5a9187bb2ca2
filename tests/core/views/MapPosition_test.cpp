// Tests of what the map page is told: the page per language, the fix for a position, the conversion to decimal
// degrees in the C locale, the track script and the check of a seek the page asks for.
#include "core/views/MapPosition.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

namespace vx {
namespace {

CGPSData Fix(std::uint32_t time, double lat, double lon, int valid = 1) {
  CGPSData fix;
  fix.time = time;
  fix.latitude = lat;
  fix.longitude = lon;
  fix.valid = valid;
  fix.speed = 41.4848;
  fix.course = 84.4;
  return fix;
}

TEST(MapPage, LanguageIndexChoosesThePage) {
  EXPECT_EQ(MapPageFile(0), "MapView.htm");
  EXPECT_EQ(MapPageFile(1), "MapView_En.htm");
  EXPECT_EQ(MapPageFile(2), "MapView_Por.htm");
  EXPECT_EQ(MapPageFile(3), "MapView_Ja.htm");
  EXPECT_EQ(MapPageFile(4), "MapView_Tw.htm");
  for (const int outside : {-1, 5, 1000}) EXPECT_EQ(MapPageFile(outside), "MapView_En.htm") << outside;
}

TEST(MapPosition, PositionSelectsTheFirstFixAtOrAfterIt) {
  CArray<CGPSData> fixes;
  fixes.Add(Fix(1000, 3730.0, 12700.0));
  fixes.Add(Fix(2000, 3731.0, 12701.0, 0));
  fixes.Add(Fix(3000, 3732.0, 12702.0));
  EXPECT_EQ(FixAtOrAfter(fixes, 0), &fixes[0]);
  EXPECT_EQ(FixAtOrAfter(fixes, 1000), &fixes[0]) << "equal time selects the fix";
  EXPECT_EQ(FixAtOrAfter(fixes, 1001), &fixes[1]);
  EXPECT_EQ(FixAtOrAfter(fixes, 3000), &fixes[2]);
  EXPECT_EQ(FixAtOrAfter(fixes, 3001), nullptr) << "after the last fix";

  EXPECT_TRUE(MapCallsForPosition(fixes, 1000));
  EXPECT_FALSE(MapCallsForPosition(fixes, 1500)) << "the fix found is not valid: nothing is sent";
  EXPECT_FALSE(MapCallsForPosition(fixes, 3001));
  EXPECT_FALSE(MapCallsForPosition(CArray<CGPSData>{}, 0));
}

TEST(MapPosition, CoordinatesInDecimalDegreesTruncatedTowardZero) {
  EXPECT_NEAR(NmeaToDegrees(3730.5), 37.508333, 1e-6);
  EXPECT_NEAR(NmeaToDegrees(-3730.5), -37.508333, 1e-6) << "not -36.841667";
  EXPECT_NEAR(NmeaToDegrees(-12159.0), -121.983333, 1e-6);
  EXPECT_EQ(NmeaToDegrees(0.0), 0.0);
}

TEST(MapPosition, CallTextsLongitudeFirstInTheCLocale) {
  // A locale with a decimal comma must not change the texts (when the machine has one).
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  std::setlocale(LC_ALL, "de_DE.UTF-8");
  const CGPSData fix = Fix(0, 3730.5, 12700.0);
  EXPECT_EQ(DrawCurrentText(fix), "javascript:DrawCurrent('127.000000', '37.508333')");
  EXPECT_EQ(DrawMotionText(fix), "javascript:DrawMotion('41.484800', '84.400000')");
  EXPECT_EQ(DrawCurrentText(Fix(0, -3730.5, -12700.0)), "javascript:DrawCurrent('-127.000000', '-37.508333')");
  std::setlocale(LC_ALL, previous.c_str());
}

TEST(MapPosition, TrackHoldsValidFixesOnTheGlobeOnly) {
  CArray<CGPSData> fixes;
  EXPECT_EQ(DrawTrackJavaScript(fixes), "if(typeof DrawTrack==='function')DrawTrack([]);");
  fixes.Add(Fix(1000, 3730.5, 12700.0));
  fixes.Add(Fix(2000, 3731.0, 12701.0, 0));
  fixes.Add(Fix(3000, 9130.0, 12700.0));  // latitude past the pole
  fixes.Add(Fix(4000, std::numeric_limits<double>::infinity(), 12700.0));
  CGPSData nanSpeed = Fix(5000, 3730.5, 12700.0);
  nanSpeed.speed = std::nan("");
  fixes.Add(nanSpeed);
  fixes.Add(Fix(6000, -3730.5, -5830.0));
  EXPECT_EQ(DrawTrackJavaScript(fixes),
            "if(typeof DrawTrack==='function')DrawTrack([[127.000000,37.508333,41.5,84.4,1000],"
            "[-58.500000,-37.508333,41.5,84.4,6000]]);");
}

TEST(MapPosition, PageSeekIsCheckedAgainstTheDuration) {
  EXPECT_EQ(PageSeekTarget(0, 10000), 0);
  EXPECT_EQ(PageSeekTarget(2500.9, 10000), 2500);
  EXPECT_EQ(PageSeekTarget(10000, 10000), 10000);
  EXPECT_FALSE(PageSeekTarget(10000.5, 10000));
  EXPECT_FALSE(PageSeekTarget(-1, 10000));
  EXPECT_FALSE(PageSeekTarget(std::nan(""), 10000));
  EXPECT_FALSE(PageSeekTarget(std::numeric_limits<double>::infinity(), 10000));
  EXPECT_FALSE(PageSeekTarget(0, 0)) << "no duration known";
}

}  // namespace
}  // namespace vx
