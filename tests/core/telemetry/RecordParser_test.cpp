// Record dispatch and the RMC grammar, including the cases where a naive parser goes wrong.
#include "core/telemetry/RecordParser.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string_view>
#include <tuple>

#include "TestTime.h"

namespace vx {
namespace {

using namespace std::string_view_literals;
using test::UtcSeconds;

RecordBuffer Record(std::string_view bytes) {
  RecordBuffer buffer{};
  std::copy(bytes.begin(), bytes.end(), buffer.begin());
  return buffer;
}

CGPSData Fix(const char* text) {
  CGPSData sample;
  ParseGps(sample, 0, text);
  return sample;
}

TEST(ParseRecord, DispatchesByFirstByteToSignedAxesOrAFixReadNoFurtherThanTheBuffer) {
  CTextData data;
  ParseRecord(700, Record("M\x80\x00\xFF"sv), data);
  ParseRecord(1, Record("XPRMC,123519,A"), data);
  ParseRecord(2, Record("GPRMC,123519,A"), data);  // incomplete fixes are kept
  RecordBuffer unterminated;
  unterminated.fill('9');
  const auto text = "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,"sv;
  std::copy(text.begin(), text.end(), unterminated.begin());
  ParseRecord(3, unterminated, data);  // under ASan a read past the buffer fails here
  ASSERT_EQ(data.m_arrGSensor.GetSize(), 1u);
  const CGSensorData& axes = data.m_arrGSensor[0];
  EXPECT_EQ(std::tuple(axes.x, axes.y, axes.z, axes.time), std::tuple(0, 128, -127, 700u));
  ASSERT_EQ(data.m_arrGps.GetSize(), 2u);
  EXPECT_EQ(std::tuple(data.m_arrGps[0].hour, data.m_arrGps[0].time), std::tuple(21, 2u));
  EXPECT_EQ(data.m_arrGps[1].day, 23);
}

// What a fix holds: its clock (+9 hours), status, position and date, and whether the text was complete.
using FixFields = std::tuple<int, int, int, int, double, double, int, int, int, bool>;

TEST(ParseGps, ReadsEachFieldAndWhatIsMissingAsZero) {
  const std::pair<const char*, FixFields> cases[] = {
      {"GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W",
       {21, 35, 19, 1, 4807.038, 1131.0, 23, 3, 94, true}},
      // Hemispheres other than north and east negate, an empty or lower-case letter too.
      {"GPRMC,123519,A,4807.038,S,01131.000,W,0,0,230394",
       {21, 35, 19, 1, -4807.038, -1131.0, 23, 3, 94, true}},
      {"GPRMC,123519,A,4807.038,,01131.000,n,0,0,230394",
       {21, 35, 19, 1, -4807.038, -1131.0, 23, 3, 94, true}},
      {"GPRMC,,V,,,,,,,,", {9, 0, 0, 0, 0.0, 0.0, 0, 0, 0, true}},
      // Leading commas are skipped, then the first field is the ignored tag; short groups read as given.
      {",,GPRMC,1235,A,1,N,2,E,3,4,0103", {21, 35, 0, 1, 1.0, 2.0, 1, 3, 0, true}},
      // Missing fields answer false and keep what was read.
      {"GPRMC,123519,A,4807.038,N", {21, 35, 19, 1, 4807.038, 0.0, 0, 0, 0, false}},
  };
  for (const auto& [text, expected] : cases) {
    CGPSData s;
    const bool complete = ParseGps(s, 0, text);
    EXPECT_EQ(FixFields(s.hour, s.minute, s.second, s.valid, s.latitude, s.longitude, s.day, s.month, s.year,
                        complete),
              expected) << text;
  }
  EXPECT_FALSE(std::signbit(Fix("GPRMC,,V,,,,,,,,").latitude));
  CGPSData full;
  ParseGps(full, 5000, "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
  EXPECT_EQ(full.speed, static_cast<double>(static_cast<float>(22.4 * 1.852)));  // knots to km/h
  EXPECT_EQ(full.course, static_cast<double>(84.4f));
  EXPECT_EQ(full.time, 5000u);
  EXPECT_EQ(Fix("GPRMC,123519,A,4807.038,N").epoch, 0);  // no epoch from an incomplete fix
}

TEST(ParseGps, NumbersIgnoreTheProcessLocale) {
  // A decimal comma locale must not change how "4807.038" is read. The build generates de_DE.UTF-8
  // into the folder LOCPATH names, so the test runs on any machine that has the locale sources.
  const char* previous = std::setlocale(LC_NUMERIC, nullptr);
  const std::string saved = previous ? previous : "C";
  const char* locpath = std::getenv("LOCPATH");
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "LOCPATH=" << (locpath ? locpath : "");
  const std::string decimalPoint = std::localeconv()->decimal_point;
  const CGPSData s = Fix("GPRMC,123519,A,4807.038,N,01131.5,E,1.5,2.5,230394");
  std::setlocale(LC_NUMERIC, saved.c_str());
  EXPECT_EQ(decimalPoint, ",");
  EXPECT_DOUBLE_EQ(s.latitude, 4807.038);
  EXPECT_DOUBLE_EQ(s.longitude, 1131.5);
}

// Summer time in Central Europe began on 29 March 2026 and ended on 25 October: the hours around both changes.
TEST(ParseGps, EpochIsTheClockPlusNineAsLocalTime) {
  constexpr const char* kCentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
  const std::tuple<const char*, const char*, std::int64_t> cases[] = {
      {"UTC0", "GPRMC,201500,A,0,N,0,E,0,0,311299", 946703700},  // 20:15 + 9 is the next day
      {"UTC0", "GPRMC,000000,A,0,N,0,E,0,0,010169", 3124256400},  // two-digit years pivot at 70
      {"UTC0", "GPRMC,000000,A,0,N,0,E,0,0,010170", 32400},
      {kCentralEurope, "GPRMC,020000,A,0,N,0,E,0,0,150126", UtcSeconds(2026, 1, 15, 10, 0)},
      {kCentralEurope, "GPRMC,030000,A,0,N,0,E,0,0,150726", UtcSeconds(2026, 7, 15, 10, 0)},
      {kCentralEurope, "GPRMC,165959,A,0,N,0,E,0,0,280326", UtcSeconds(2026, 3, 29, 0, 59, 59)},
      {kCentralEurope, "GPRMC,180000,A,0,N,0,E,0,0,280326", UtcSeconds(2026, 3, 29, 1, 0)},
      {kCentralEurope, "GPRMC,163000,A,0,N,0,E,0,0,241026", UtcSeconds(2026, 10, 24, 23, 30)},
      {kCentralEurope, "GPRMC,183000,A,0,N,0,E,0,0,241026", UtcSeconds(2026, 10, 25, 2, 30)},
  };
  for (const auto& [zone, text, epoch] : cases) {
    const test::ScopedComputerZone computer(zone);
    EXPECT_EQ(Fix(text).epoch, epoch) << zone << " " << text;
  }
  EXPECT_EQ(Fix("GPRMC,201500,A,0,N,0,E,0,0,311299").hour, 29) << "the clock is not wrapped";
}

TEST(CArray, KeepsItsElementsAsItGrowsAndFreesThemAll) {
  CArray<int> array;
  for (int i = 0; i < 10000; ++i) array.Add(i);
  EXPECT_EQ(std::tuple(array[0], array[4444], array[9999]), std::tuple(0, 4444, 9999));
  array.RemoveAll();
  EXPECT_EQ(std::tuple(array.GetSize(), array.GetCapacity()), std::tuple(0u, 0u));
}

}  // namespace
}  // namespace vx
