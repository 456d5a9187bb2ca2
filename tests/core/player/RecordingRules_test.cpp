// Tests of the rules of a recording's row and transport: extensions, event letters, size and date texts,
// snapshot names, speed labels, time texts, the end of a recording and the volume scale.
#include "core/player/RecordingRules.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>

#include "TestTime.h"
#include "core/player/RecordingNames.h"
#include "core/player/SnapshotNames.h"
#include "core/player/SpeedSteps.h"
#include "core/player/TimelineRules.h"
#include "core/player/VolumeScale.h"

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
  // Letters are counted in characters; a name shorter than seven gives its first character.
  for (const auto& [name, type] : {std::pair{u"/card/20261206_101500_E01.AVI", u"Event"},
                                   {u"/card/20261206_101500_d01.mp4", u"Drive"}, {u"/card/x12.AVI", u"None"},
                                   {u"/카드/주차_P12.AVI", u"Parking"}, {u"e.avi", u"Event"}, {u"", u"None"}}) {
    EXPECT_EQ(EventTypeOf(name), type);
  }
}

TEST(RecordingRules, SizeInMegabytesWithOneDigit) {
  EXPECT_EQ(SizeText(5'767'168), u"5.5");
  EXPECT_EQ(SizeText(999 * 1024), u"0.9");
  // A kilobyte remainder of 1000 to 1023 shows 9, never "10".
  EXPECT_EQ(SizeText(1000 * 1024), u"0.9");
  EXPECT_EQ(SizeText(2 * 1'048'576 + 1023 * 1024 + 1023), u"2.9");
  // Files of 4 GB and more keep every bit of their size.
  EXPECT_EQ(SizeText(std::numeric_limits<std::uint64_t>::max()), u"17592186044415.9");
}

TEST(RecordingRules, DateMovesWithTheZoneAcrossDaysMonthsAndYearsOrIsEmpty) {
  const struct {
    std::int64_t utc;
    int offsetMinutes;
    std::u16string_view date;
  } cases[] = {
      {UtcSeconds(2012, 3, 31, 22, 59), 60, u"12.03.31"},
      {UtcSeconds(2012, 3, 31, 23, 0), 60, u"12.04.01"},  // m = 1440 is midnight of the next day
      {UtcSeconds(2012, 4, 1, 0, 30), -60, u"12.03.31"},
      {UtcSeconds(2012, 4, 1, 1, 0), -60, u"12.04.01"},
      {UtcSeconds(2026, 12, 6, 18, 15), 345, u"26.12.07"},  // UTC+5:45
      {UtcSeconds(2026, 12, 6, 18, 14), 345, u"26.12.06"},
      {UtcSeconds(2012, 12, 31, 23, 30), 60, u"13.01.01"},
      {UtcSeconds(2012, 2, 28, 23, 30), 60, u"12.02.29"},  // leap year
      {UtcSeconds(2013, 2, 28, 23, 30), 60, u"13.03.01"},
      {-1, 0, u"69.12.31"},  // before 1970
      {std::numeric_limits<std::int64_t>::max(), 0, u""},
      {UtcSeconds(9999, 12, 31, 23, 0), 60, u""},  // year 10000
  };
  for (const auto& c : cases) EXPECT_EQ(DateText(c.utc, c.offsetMinutes), c.date) << c.utc;
}

// The camera's own time from its file names, shown as it stands; anything else is no camera time (the
// range of each field is checked once for all cameras' names below).
TEST(RecordingRules, DateFromTheCamerasFileName) {
  const struct {
    std::u16string_view name;
    std::u16string_view date;
  } cases[] = {
      {u"20261206_101500_E01.AVI", u"26.12.06"},
      {u"20240229_235959_D12.MP4", u"24.02.29"},  // leap day, last second
      {u"20261206_101500_", u"26.12.06"},         // nothing after the stamp is needed
      {u"20230229_101500_E01.AVI", u""},          // no leap day in 2023
      {u"20261206_101560_E01.AVI", u""},          // second 60
      {u"00001206_101500_E01.AVI", u""},          // year 0
      {u"2026120_6101500_E01.AVI", u""},          // underscore misplaced
      {u"20261206_101500", u""},                  // too short
  };
  for (const auto& c : cases) {
    EXPECT_EQ(NameDateText(c.name), c.date) << std::string(c.name.begin(), c.name.end());
  }
}

// Any camera's names and folders: listed or not, event and date; VX-880QN names keep their own rules.
TEST(RecordingNames, ListedEventAndDateFromNamesAndFolders) {
  const struct {
    std::string_view path;
    bool listed;
    std::u16string_view event, date;
  } cases[] = {
      {"/c/20261206_101500_e01.mp4", true, u"Event", u"26.12.06"},
      {"/c/Parking/20261206_101500_D01.AVI", true, u"Drive", u"26.12.06"},  // own letter beats folders
      {"/c/20261206_101500_E01.Avi", false, u"Event", u"26.12.06"},          // own name: exact-case extension
      {"/c/20261231_101500_E01.Mp4.mov", true, u"", u"26.12.31"},
      {"/c/Record/20230101_120000_NF.mp4", true, u"Drive", u"23.01.01"},
      {"/c/DCIM/Movie/RO/2023_0102_235959_0001F.MP4", true, u"Event", u"23.01.02"},
      {"/c/DCIM/Movie/2023_0102_235959_0001PF.MP4", true, u"Parking", u"23.01.02"},
      {"/c/emer/CAM_230103-101010_E.ts", true, u"Event", u"23.01.03"},
      {"/c/drive/x20230104101010.MOV", true, u"Drive", u"23.01.04"},  // a letter ends a run of digits
      {"/c/PARK/REC-20230105101010-P.mov", true, u"Parking", u"23.01.05"},
      {"/c/Drivers/PARKER.MP4", true, u"", u""},
      {"/c/Parked/Pe_nf.mp4", true, u"", u""},  // tags are upper case
      {"/c/Normal/120230104101010.mp4", true, u"Drive", u""},   // a longer run of digits
      {"/c/20230230_101010.mp4", true, u"", u""},                // 30 February
      {"/c/20230101_246000.mp4", true, u"", u""},
      {"/c/x.m2ts", false, u"", u""},
      {"/c/mp4", false, u"", u""},
      {"/c/.ts", true, u"", u""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(IsListedRecording(c.path), c.listed) << c.path;
    EXPECT_EQ(RecordingEventOf(c.path), c.event) << c.path;
    EXPECT_EQ(RecordingNameDate(c.path), c.date) << c.path;
  }
}

// Pairs from names alone: the rear is found only where the check says it is a regular file.
TEST(RecordingNames, FrontAndRearFilesOfOneMomentPair) {
  const std::set<std::string> files = {"/c/A_NF.mp4",       "/c/A_NR.mp4",       "/c/B0001F.MP4", "/c/B0001R.MP4",
                                       "/c/Front/C.MP4",    "/c/Rear/C.MP4",     "/c/FRONT/D.MP4", "/c/REAR/D.MP4",
                                       "/c/E_R.MP4",        "/c/PARKEF.MP4"};
  const auto exists = [&files](const std::string& path) { return files.contains(path); };
  const struct {
    std::string_view path;
    std::string_view row, partner;
  } cases[] = {
      {"/c/A_NF.mp4", "/c/A_NF.mp4", "/c/A_NR.mp4"},      {"/c/A_NR.mp4", "/c/A_NF.mp4", "/c/A_NR.mp4"},
      {"/c/B0001R.MP4", "/c/B0001F.MP4", "/c/B0001R.MP4"}, {"/c/Front/C.MP4", "/c/Front/C.MP4", "/c/Rear/C.MP4"},
      {"/c/Rear/C.MP4", "/c/Front/C.MP4", "/c/Rear/C.MP4"}, {"/c/REAR/D.MP4", "/c/FRONT/D.MP4", "/c/REAR/D.MP4"},
      {"/c/E_R.MP4", "/c/E_R.MP4", ""},                     // rear without front
      {"/c/PARKER.MP4", "/c/PARKER.MP4", ""},               // no tag, though PARKEF is there
      {"/c/Rear/D.MP4", "/c/Rear/D.MP4", ""},               // the front folder is spelt FRONT
      {"/c/Drivers/X_F.MP4", "/c/Drivers/X_F.MP4", ""},
      {"F.MP4", "F.MP4", ""},
      {"/c/A_NR_.mp4", "/c/A_NR_.mp4", ""},  // the tag must end the stem
  };
  for (const auto& c : cases) {
    const RecordingPair pair = PairOf(c.path, exists);
    EXPECT_EQ(pair.rowPath, c.row) << c.path;
    EXPECT_EQ(pair.partnerPath, c.partner) << c.path;
  }
}

TEST(RecordingRules, CreationIsTheEarlierOfBirthAndModification) {
  EXPECT_EQ(CreationSeconds(2'000, 1'000), 1'000) << "a copy: born after its modification";
  EXPECT_EQ(CreationSeconds(-5, 7), -5) << "the camera's own card";
  EXPECT_EQ(CreationSeconds(std::nullopt, 2'000), 2'000) << "no birth time kept";
}

TEST(SnapshotNames, DefaultAndChosenNamesLoseTheirWholeExtensionInCharacters) {
  const std::pair<const char*, const char*> defaults[] = {
      {"/media/card/DCIM/REC_0001.avi", "/media/card/DCIM/REC_0001.jpg"},
      {"", ".jpg"}, {"a.b", ".jpg"}, {"/x/영상녹화", "/x/.jpg"},
      {"/카드/주행.MP4", "/카드/주행.jpg"},  // characters, not bytes
  };
  for (const auto& [recording, name] : defaults) EXPECT_EQ(SnapshotDefaultName(recording), name) << recording;
  const std::pair<const char*, const char*> chosen[] = {
      {"/d/snap", "/d/snap"},
      {"/d/snap.jpeg", "/d/snap"},  // not snap._front.jpg
      {"/d/snap.tar.jpg", "/d/snap.tar"},
      {"/d.v1/snap", "/d.v1/snap"},  // a dot in a folder is no extension
      {"/d/.jpg", "/d/"},
  };
  for (const auto& [name, stem] : chosen) {
    const auto files = SnapshotFileNames(name);
    EXPECT_EQ(files.front, std::string(stem) + "_front.jpg") << name;
    EXPECT_EQ(files.rear, std::string(stem) + "_rear.jpg") << name;
    EXPECT_EQ(files.frontZoom, std::string(stem) + "_front-zoom.jpg") << name;
  }
}

// The window's test steps the rate through the buttons; here every step is checked, also those it skips.
TEST(SpeedSteps, EveryStepsLabelNamesItsRateAndNothingChangesUnlessPlaying) {
  for (int step = kSlowestSpeedStep; step <= kFastestSpeedStep; ++step) {
    const std::string label = SpeedLabel(step);
    EXPECT_FLOAT_EQ(std::stof(label.substr(2)), SpeedRate(step)) << label;
    EXPECT_EQ(NextSpeedStep(step, SpeedButton::Slower, false), step);
    EXPECT_EQ(NextSpeedStep(step, SpeedButton::Faster, false), step);
  }
}

TEST(TimelineRules, TimeTextsAndTheEndOfARecording) {
  EXPECT_EQ(TimeText((3600 + 2 * 60 + 5) * 1000), "01:02:05");
  EXPECT_EQ(TimeText(999), "00:00:00") << "whole seconds, truncated";
  EXPECT_EQ(TimeText(-40), "00:00:00");
  EXPECT_EQ(TimeText(100LL * 3600 * 1000), "100:00:00");
  for (const auto& [ms, text] : {std::pair{65'033LL, "01:05.033"}, {999LL, "00:00.999"}, {-40LL, "00:00.000"},
                                 {3'599'999LL, "59:59.999"}, {3'600'000LL, "1:00:00.000"},
                                 {100LL * 3'600'000 + 61'001, "100:01:01.001"}}) {
    EXPECT_EQ(TimeTextWithMs(ms), text) << ms;
  }
  for (const auto& [position, duration, end] : {std::tuple{60'000, 60'000, true}, {60'100, 60'000, true},
                                                {59'999, 60'000, false}, {-1, 60'000, true},
                                                {5'000, 0, false}}) {
    EXPECT_EQ(ReachedEnd(position, duration), end) << position << " of " << duration;
  }
  EXPECT_FALSE(ReachedEnd(0, 0)) << "an unknown duration is not the end at the first tick";
}

TEST(VolumeScale, SliderToLevel) {
  EXPECT_DOUBLE_EQ(VolumeLevel(kDefaultVolumePosition), 32'767.0 / 65'535.0);
  EXPECT_DOUBLE_EQ(VolumeLevel(99), 64'879.0 / 65'535.0);
  EXPECT_DOUBLE_EQ(VolumeLevel(150), VolumeLevel(99));
  EXPECT_DOUBLE_EQ(VolumeLevel(-3), 0.0);
}

}  // namespace
}  // namespace vx
