// Tests of the catalogue row rules: recording extensions, event letters, size and date texts.
#include "core/player/RecordingRules.h"

#include <gtest/gtest.h>

#include <limits>

#include "TestTime.h"

namespace vx {
namespace {

using test::UtcSeconds;

TEST(RecordingRules, OnlyFourExactExtensionsAreRecordings) {
  for (const char* name : {"a.AVI", "a.avi", "b.MP4", "b.mp4", ".avi", "/card/DCIM/20261206_101500_E01.AVI",
                           "\xec\x98\x81\xec\x83\x81.MP4"}) {
    EXPECT_TRUE(HasRecordingExtension(name)) << name;
  }
  for (const char* name : {"a.Avi", "a.aVI", "b.Mp4", "avi", "", "a.avi.txt", "a.AVI ", "a.mov"}) {
    EXPECT_FALSE(HasRecordingExtension(name)) << name;
  }
}

TEST(RecordingRules, EventTypeFromTheLetterSevenFromTheEnd) {
  EXPECT_EQ(EventTypeOf(u"/card/20261206_101500_E01.AVI"), u"Event");
  EXPECT_EQ(EventTypeOf(u"/card/20261206_101500_d01.mp4"), u"Drive");
  EXPECT_EQ(EventTypeOf(u"/card/P12.AVI"), u"Parking");
  EXPECT_EQ(EventTypeOf(u"/card/x12.AVI"), u"None");
  EXPECT_EQ(EventTypeOf(u"/카드/주차_P12.AVI"), u"Parking") << "counted in characters";
  EXPECT_EQ(EventTypeOf(u"e.avi"), u"Event") << "shorter than seven: the first character";
  EXPECT_EQ(EventTypeOf(u""), u"None");
}

TEST(RecordingRules, SizeInMegabytesWithOneDigit) {
  EXPECT_EQ(SizeText(1'048'576), u"1.0");
  EXPECT_EQ(SizeText(5'767'168), u"5.5");
  EXPECT_EQ(SizeText(0), u"0.0");
  EXPECT_EQ(SizeText(999 * 1024), u"0.9");
  // A kilobyte remainder of 1000 to 1023 shows 9, never "10".
  EXPECT_EQ(SizeText(1000 * 1024), u"0.9");
  EXPECT_EQ(SizeText(2 * 1'048'576 + 1023 * 1024 + 1023), u"2.9");
  // Files of 4 GB and more keep every bit of their size.
  EXPECT_EQ(SizeText((std::uint64_t{4} << 30) + 512 * 1024), u"4096.5");
  EXPECT_EQ(SizeText(std::numeric_limits<std::uint64_t>::max()), u"17592186044415.9");
}

TEST(RecordingRules, DateMovesWithTheZone) {
  EXPECT_EQ(DateText(UtcSeconds(2012, 3, 31, 23, 30), 60), u"12.04.01");
  EXPECT_EQ(DateText(UtcSeconds(2012, 3, 31, 22, 59), 60), u"12.03.31");
  EXPECT_EQ(DateText(UtcSeconds(2012, 3, 31, 23, 0), 60), u"12.04.01") << "m = 1440 is midnight of the next day";
  EXPECT_EQ(DateText(UtcSeconds(2012, 4, 1, 0, 30), -60), u"12.03.31");
  EXPECT_EQ(DateText(UtcSeconds(2012, 4, 1, 1, 0), -60), u"12.04.01");
  EXPECT_EQ(DateText(UtcSeconds(2026, 12, 6, 18, 15), 345), u"26.12.07") << "UTC+5:45";
  EXPECT_EQ(DateText(UtcSeconds(2026, 12, 6, 18, 14), 345), u"26.12.06");
}

TEST(RecordingRules, DateCarriesIntoMonthAndYear) {
  EXPECT_EQ(DateText(UtcSeconds(2012, 12, 31, 23, 30), 60), u"13.01.01");
  EXPECT_EQ(DateText(UtcSeconds(2012, 2, 28, 23, 30), 60), u"12.02.29") << "leap year";
  EXPECT_EQ(DateText(UtcSeconds(2013, 2, 28, 23, 30), 60), u"13.03.01");
  EXPECT_EQ(DateText(UtcSeconds(2000, 1, 1, 0, 10), -60), u"99.12.31");
  EXPECT_EQ(DateText(-1, 0), u"69.12.31") << "before 1970";
}

TEST(RecordingRules, DatesNoTextCanShowAreEmpty) {
  EXPECT_EQ(DateText(std::numeric_limits<std::int64_t>::max(), 0), u"");
  EXPECT_EQ(DateText(std::numeric_limits<std::int64_t>::min(), 0), u"");
  EXPECT_EQ(DateText(UtcSeconds(9999, 12, 31, 23, 0), 60), u"") << "year 10000";
}

// The camera's own time from its file names, shown as it stands; anything else is no camera time.
TEST(RecordingRules, DateFromTheCamerasFileName) {
  const struct {
    std::u16string_view name;
    std::u16string_view date;
  } cases[] = {
      {u"20261206_101500_E01.AVI", u"26.12.06"},
      {u"20240229_235959_D12.MP4", u"24.02.29"},  // leap day, last second
      {u"20261206_101500_", u"26.12.06"},         // nothing after the stamp is needed
      {u"20230229_101500_E01.AVI", u""},          // no leap day in 2023
      {u"20261306_101500_E01.AVI", u""},          // month 13
      {u"20261131_101500_E01.AVI", u""},          // 31 November
      {u"20261206_241500_E01.AVI", u""},          // hour 24
      {u"20261206_106000_E01.AVI", u""},          // minute 60
      {u"20261206_101560_E01.AVI", u""},          // second 60
      {u"00001206_101500_E01.AVI", u""},          // year 0
      {u"2026120_6101500_E01.AVI", u""},          // underscore misplaced
      {u"20261206_101500E01.AVI", u""},
      {u"20261206_101500", u""},                  // too short
      {u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameDateText(c.name), c.date) << std::string(c.name.begin(), c.name.end());
  }
}

TEST(RecordingRules, CreationIsTheEarlierOfBirthAndModification) {
  EXPECT_EQ(CreationSeconds(2'000, 1'000), 1'000) << "a copy: born after its modification";
  EXPECT_EQ(CreationSeconds(1'000, 2'000), 1'000) << "the camera's own card";
  EXPECT_EQ(CreationSeconds(std::nullopt, 2'000), 2'000) << "no birth time kept";
  EXPECT_EQ(CreationSeconds(-5, 7), -5);
}

}  // namespace
}  // namespace vx
