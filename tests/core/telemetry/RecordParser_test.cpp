// Record dispatch and the RMC grammar, including the cases where a naive parser goes wrong.
#include "core/telemetry/RecordParser.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace vx {
namespace {

RecordBuffer Record(const char* text) {
  RecordBuffer buffer{};
  std::memcpy(buffer.data(), text, std::strlen(text));
  return buffer;
}

CGPSData Fix(const char* text, std::uint32_t time = 0, bool* complete = nullptr) {
  CGPSData sample;
  const bool ok = ParseGps(sample, time, text);
  if (complete) *complete = ok;
  return sample;
}

TEST(ParseRecord, GSensorBytesMapToSignedAxes) {
  CTextData data;
  RecordBuffer buffer{};
  buffer[0] = 'M';
  buffer[1] = 0x80;
  buffer[2] = 0x00;
  buffer[3] = 0xFF;
  ParseRecord(700, buffer, data);
  ASSERT_EQ(data.m_arrGSensor.GetSize(), 1u);
  EXPECT_EQ(data.m_arrGSensor[0].x, 0);
  EXPECT_EQ(data.m_arrGSensor[0].y, 128);
  EXPECT_EQ(data.m_arrGSensor[0].z, -127);
  EXPECT_EQ(data.m_arrGSensor[0].time, 700u);
}

TEST(ParseRecord, DispatchesByFirstByteAndKeepsIncompleteFixes) {
  CTextData data;
  ParseRecord(1, Record("XPRMC,123519,A"), data);
  ParseRecord(2, Record("GPRMC,123519,A"), data);
  EXPECT_EQ(data.m_arrGSensor.GetSize(), 0u);
  ASSERT_EQ(data.m_arrGps.GetSize(), 1u);
  EXPECT_EQ(data.m_arrGps[0].hour, 21);
  EXPECT_EQ(data.m_arrGps[0].valid, 1);
  EXPECT_EQ(data.m_arrGps[0].latitude, 0.0);
  EXPECT_EQ(data.m_arrGps[0].epoch, 0);
}

TEST(ParseRecord, GpsRecordWithoutTerminatorStopsAtTheBuffersEnd) {
  RecordBuffer buffer;
  buffer.fill('9');
  std::memcpy(buffer.data(), "GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,", 57);
  CTextData data;
  ParseRecord(0, buffer, data);  // under ASan a read past the buffer fails here
  ASSERT_EQ(data.m_arrGps.GetSize(), 1u);
  EXPECT_EQ(data.m_arrGps[0].day, 23);
}

TEST(ParseGps, FullSentence) {
  bool complete = false;
  const CGPSData s = Fix("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W", 5000, &complete);
  EXPECT_TRUE(complete);
  EXPECT_EQ(s.hour, 21);
  EXPECT_EQ(s.minute, 35);
  EXPECT_EQ(s.second, 19);
  EXPECT_EQ(s.valid, 1);
  EXPECT_DOUBLE_EQ(s.latitude, 4807.038);
  EXPECT_DOUBLE_EQ(s.longitude, 1131.0);
  EXPECT_EQ(s.speed, static_cast<double>(static_cast<float>(22.4 * 1.852)));
  EXPECT_NEAR(s.speed, 41.4848, 1e-4);
  EXPECT_EQ(s.course, static_cast<double>(84.4f));
  EXPECT_EQ(s.day, 23);
  EXPECT_EQ(s.month, 3);
  EXPECT_EQ(s.year, 94);
  EXPECT_EQ(s.time, 5000u);
  EXPECT_NE(s.epoch, 0);
}

TEST(ParseGps, HemispheresOtherThanNorthAndEastNegate) {
  EXPECT_LT(Fix("GPRMC,123519,A,4807.038,S,01131.000,W,0,0,230394").latitude, 0.0);
  EXPECT_LT(Fix("GPRMC,123519,A,4807.038,S,01131.000,W,0,0,230394").longitude, 0.0);
  EXPECT_LT(Fix("GPRMC,123519,A,4807.038,,01131.000,n,0,0,230394").latitude, 0.0);
  EXPECT_LT(Fix("GPRMC,123519,A,4807.038,,01131.000,n,0,0,230394").longitude, 0.0);
}

TEST(ParseGps, EmptyFieldsGiveZeros) {
  bool complete = false;
  const CGPSData s = Fix("GPRMC,,V,,,,,,,,", 0, &complete);
  EXPECT_TRUE(complete);
  EXPECT_EQ(s.valid, 0);
  EXPECT_EQ(s.latitude, 0.0);
  EXPECT_FALSE(std::signbit(s.latitude));
  EXPECT_EQ(s.longitude, 0.0);
  EXPECT_EQ(s.hour, 9);
  EXPECT_EQ(s.minute, 0);
  EXPECT_EQ(s.day + s.month + s.year, 0);
}

TEST(ParseGps, LeadingCommasAndShortGroups) {
  // Leading commas are skipped, then the first field is the ignored tag.
  const CGPSData s = Fix(",,GPRMC,1235,A,1,N,2,E,3,4,0103");
  EXPECT_EQ(s.hour, 21);
  EXPECT_EQ(s.minute, 35);
  EXPECT_EQ(s.second, 0);
  EXPECT_EQ(s.valid, 1);
  EXPECT_EQ(s.day, 1);
  EXPECT_EQ(s.month, 3);
  EXPECT_EQ(s.year, 0);
}

TEST(ParseGps, MissingFieldsAnswerFalseAndKeepWhatWasRead) {
  bool complete = true;
  const CGPSData s = Fix("GPRMC,123519,A,4807.038,N", 9, &complete);
  EXPECT_FALSE(complete);
  EXPECT_EQ(s.latitude, 4807.038);
  EXPECT_EQ(s.longitude, 0.0);
  EXPECT_EQ(s.time, 9u);
  EXPECT_EQ(s.epoch, 0);
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

class LocalEpoch : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* tz = std::getenv("TZ");
    m_saved = tz ? tz : "";
    m_hadTz = tz != nullptr;
    UseZone("UTC");
  }
  static void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  void TearDown() override {
    if (m_hadTz) setenv("TZ", m_saved.c_str(), 1); else unsetenv("TZ");
    tzset();
  }
  std::string m_saved;
  bool m_hadTz = false;
};

TEST_F(LocalEpoch, HourPlusNineRollsIntoTheNextDay) {
  const CGPSData s = Fix("GPRMC,201500,A,0,N,0,E,0,0,311299");
  EXPECT_EQ(s.hour, 29);
  EXPECT_EQ(s.epoch, 946703700);  // 2000-01-01 05:15:00
}

TEST_F(LocalEpoch, TwoDigitYearsPivotAtSeventy) {
  EXPECT_EQ(Fix("GPRMC,000000,A,0,N,0,E,0,0,010169").epoch, 3124256400);  // 2069-01-01 09:00
  EXPECT_EQ(Fix("GPRMC,000000,A,0,N,0,E,0,0,010170").epoch, 32400);       // 1970-01-01 09:00
}

TEST_F(LocalEpoch, AgreesWithMktimeInAZoneWithSummerTime) {
  UseZone("Europe/Berlin");
  // Winter, summer, and the hours around both changes of 2026 (29 March, 25 October).
  for (const char* when : {"GPRMC,020000,A,0,N,0,E,0,0,150126", "GPRMC,030000,A,0,N,0,E,0,0,150726",
                           "GPRMC,165959,A,0,N,0,E,0,0,280326", "GPRMC,180000,A,0,N,0,E,0,0,280326",
                           "GPRMC,163000,A,0,N,0,E,0,0,241026", "GPRMC,183000,A,0,N,0,E,0,0,241026"}) {
    const CGPSData s = Fix(when);
    std::tm tm{};
    tm.tm_year = s.year + 100;
    tm.tm_mon = s.month - 1;
    tm.tm_mday = s.day;
    tm.tm_hour = s.hour;
    tm.tm_min = s.minute;
    tm.tm_sec = s.second;
    tm.tm_isdst = -1;
    EXPECT_EQ(s.epoch, static_cast<std::int64_t>(std::mktime(&tm))) << when;
  }
}

TEST(ToDecimalDegrees, KeepsSignAndConvertsMinutes) {
  EXPECT_NEAR(ToDecimalDegrees(3733.9900), 37.566500, 1e-9);
  EXPECT_NEAR(ToDecimalDegrees(-12658.6800), -126.978000, 1e-9);
  EXPECT_EQ(ToDecimalDegrees(0.0), 0.0);
}

TEST(CArray, GrowsByAnEighthOfItsSizeAtLeastFourAtMostOneThousandTwentyFour) {
  // Every capacity an array passes through while 20 000 elements are added one at a time: steps of 4
  // up to 40, then an eighth of the size (45 = 40 + 5), then 1024 from 8254 on.
  const std::vector<std::size_t> expected{
      4,    8,    12,   16,   20,   24,   28,   32,    36,    40,    45,    50,    56,    63,    70,    78,   87,
      97,   109,  122,  137,  154,  173,  194,  218,   245,   275,   309,   347,   390,   438,   492,   553,  622,
      699,  786,  884,  994,  1118, 1257, 1414, 1590,  1788,  2011,  2262,  2544,  2862,  3219,  3621,  4073, 4582,
      5154, 5798, 6522, 7337, 8254, 9278, 10302, 11326, 12350, 13374, 14398, 15422, 16446, 17470, 18494, 19518, 20542};
  CArray<int> array;
  std::vector<std::size_t> capacities;
  for (int i = 0; i < 20000; ++i) {
    const std::size_t before = array.GetCapacity();
    array.Add(i);
    if (array.GetCapacity() != before) capacities.push_back(array.GetCapacity());
  }
  EXPECT_EQ(capacities, expected);
  EXPECT_EQ(array[19999], 19999);
  array.RemoveAll();
  EXPECT_EQ(array.GetSize(), 0u);
  EXPECT_EQ(array.GetCapacity(), 0u);
}

}  // namespace
}  // namespace vx
