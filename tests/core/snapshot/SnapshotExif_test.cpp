// The EXIF of a frame's moment as ExifTool reads it back from a JPEG, and the JPEGs the segment is refused for.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <fstream>
#include <map>
#include <regex>

#include "TestTime.h"
#include "ToolRunner.h"
#include "core/snapshot/ExifPayload.h"
#include "core/snapshot/JpegSegments.h"

namespace vx {
namespace {

using Bytes = std::vector<std::uint8_t>;

// Start of image, a JFIF APP0 segment, the head of a scan and end of image: enough of a JPEG for a reader of
// its segments.
const Bytes kJfifJpeg{0xFF, 0xD8, 0xFF, 0xE0, 0,    16,   'J', 'F', 'I', 'F',  0, 1, 1,   0,   0,
                      1,    0,    1,    0,    0,    0xFF, 0xDA, 0,   8,   1,    1, 0, 0, 0x3F, 0, 0xFF, 0xD9};

std::int64_t UtcMs(int year, int month, int day, int hour, int minute, int second, int ms) {
  return test::UtcSeconds(year, month, day, hour, minute, second) * 1000 + ms;
}

GpsSample Fix(std::uint32_t mediaMs, std::optional<std::int64_t> utcMs, double latitude, double longitude) {
  GpsSample fix;
  fix.mediaMs = mediaMs;
  fix.utcMs = utcMs;
  fix.valid = true;
  fix.latitude = latitude;
  fix.longitude = longitude;
  return fix;
}

// ExifTool's tags of `path` (`-n`: numbers as stored, signs from the reference tags) as text.
std::map<std::string, std::string> ExifToolTags(const std::string& path) {
  const test::ToolOutput run = test::RunTool("LC_ALL=C exiftool -n -j " + test::Quote(path));
  EXPECT_EQ(run.status, 0) << "ExifTool is needed as the independent reader (Debian libimage-exiftool-perl)";
  static const std::regex tag(R"re("(\w+)": ("([^"]*)"|[-0-9.eE+]+))re");
  std::map<std::string, std::string> tags;
  for (std::sregex_iterator it(run.out.begin(), run.out.end(), tag), end; it != end; ++it) {
    tags[(*it)[1]] = (*it)[3].matched ? (*it)[3].str() : (*it)[2].str();
  }
  return tags;
}

struct MomentCase {
  const char* name;
  std::vector<GpsSample> fixes;
  std::uint32_t mediaMs;
  std::optional<std::int64_t> startUtcMs;
  int zoneMinutes;
  std::map<std::string, std::string> expected;  // numbers are compared to 1e-6
  std::vector<std::string> absent;
};

std::vector<MomentCase> MomentCases() {
  const std::int64_t seoul = UtcMs(2026, 12, 6, 14, 59, 59, 700);
  GpsSample northEast = Fix(4000, seoul, 37.5665, 126.978);
  northEast.altitudeM = 38.2;
  northEast.speedKmh = 72.5;
  northEast.headingDeg = 359.999;  // rounds to a full turn: north
  GpsSample invalidNearer = Fix(4400, seoul + 400, 10.0, 10.0);
  invalidNearer.valid = false;
  GpsSample southWest = Fix(1000, UtcMs(2099, 12, 31, 23, 59, 59, 0), -33.8688, -70.6693);
  southWest.altitudeM = -12.5;
  southWest.headingDeg = 360.0;
  GpsSample bare = Fix(8000, UtcMs(2026, 7, 1, 6, 0, 0, 0), 51.5, -0.1);
  bare.speedKmh = std::nan("");
  const std::int64_t march = UtcMs(2026, 3, 1, 8, 0, 0, 0);
  return {
      {"north and east: time from the fix, the local date a day on, invalid fixes passed over",
       {northEast, invalidNearer, Fix(6500, seoul + 2500, 37.6, 127.0)}, 4400, seoul - 60'000, 540,
       {{"DateTimeOriginal", "2026:12:07 00:00:00"}, {"OffsetTimeOriginal", "+09:00"}, {"SubSecTimeOriginal", "100"},
        {"GPSVersionID", "2 3 0 0"}, {"GPSLatitude", "37.5665"}, {"GPSLongitude", "126.978"},
        {"GPSAltitude", "38.2"}, {"GPSAltitudeRef", "0"}, {"GPSSpeed", "72.5"}, {"GPSSpeedRef", "K"},
        {"GPSTrack", "0"}, {"GPSTrackRef", "T"}, {"GPSDateStamp", "2026:12:06"}, {"GPSTimeStamp", "15:00:00.1"}},
       {}},
      {"south and west, below the sea, heading 360, west of UTC in 2099",
       {southWest}, 1000, std::nullopt, -300,
       {{"DateTimeOriginal", "2099:12:31 18:59:59"}, {"OffsetTimeOriginal", "-05:00"}, {"SubSecTimeOriginal", "000"},
        {"GPSLatitude", "-33.8688"}, {"GPSLatitudeRef", "S"}, {"GPSLongitude", "-70.6693"},
        {"GPSLongitudeRef", "W"}, {"GPSAltitude", "-12.5"}, {"GPSAltitudeRef", "1"}, {"GPSSpeed", "0"},
        {"GPSTrack", "0"}, {"GPSDateStamp", "2099:12:31"}},
       {}},
      {"no fix within reach: time from the start in the name, in 1970",
       {Fix(0, std::nullopt, 1.0, 1.0)}, 5000, 0, 0,
       {{"DateTimeOriginal", "1970:01:01 00:00:05"}, {"OffsetTimeOriginal", "+00:00"}},
       {"GPSVersionID", "GPSLatitude", "GPSTimeStamp"}},
      {"no altitude, no heading, a speed that is not a number", {bare}, 9500, std::nullopt, 330,
       {{"DateTimeOriginal", "2026:07:01 11:30:01"}, {"OffsetTimeOriginal", "+05:30"}, {"SubSecTimeOriginal", "500"},
        {"GPSLatitude", "51.5"}, {"GPSLongitude", "-0.1"}, {"GPSTimeStamp", "06:00:01.5"}},
       {"GPSAltitude", "GPSSpeed", "GPSSpeedRef", "GPSTrack"}},
      {"fractional seconds are cut, never rounded into the next minute", {Fix(59'000, march + 59'000, 0.0, 0.0)},
       59'999, std::nullopt, 0,
       {{"DateTimeOriginal", "2026:03:01 08:00:59"}, {"SubSecTimeOriginal", "999"},
        {"GPSTimeStamp", "08:00:59.999"}, {"GPSLatitude", "0"}, {"GPSLatitudeRef", "N"}},
       {}},
      {"a clock at the start of its range gives no time, the place stays", {Fix(0, INT64_MIN, 1.0, 2.0)}, 0,
       std::nullopt, 0, {{"GPSLatitude", "1"}, {"GPSLongitude", "2"}},
       {"DateTimeOriginal", "GPSDateStamp", "GPSTimeStamp"}},
      {"a clock that would run past the end of its range gives no time", {Fix(1000, INT64_MAX, 1.0, 2.0)}, 1500,
       std::nullopt, 0, {{"GPSLatitude", "1"}}, {"DateTimeOriginal", "GPSTimeStamp"}},
  };
}

void ExpectTag(const std::map<std::string, std::string>& tags, const std::string& key, const std::string& expected) {
  const auto found = tags.find(key);
  ASSERT_NE(found, tags.end()) << key << " missing";
  char* end = nullptr;
  const double number = std::strtod(expected.c_str(), &end);
  if (*end == '\0' && expected.find(':') == std::string::npos && expected.find(' ') == std::string::npos) {
    EXPECT_NEAR(std::strtod(found->second.c_str(), nullptr), number, 1e-6) << key;
  } else {
    EXPECT_EQ(found->second, expected) << key;
  }
}

TEST(SnapshotExif, ExifToolReadsTheTimePlaceAndMotionOfEachMoment) {
  const test::TempDir dir("snapshot-exif");
  for (const MomentCase& c : MomentCases()) {
    SCOPED_TRACE(c.name);
    const TelemetryTrack track{"test", c.fixes, {}, {}};
    const Bytes payload = ExifPayloadOf(FrameMomentAt(track, c.mediaMs, c.startUtcMs, c.zoneMinutes));
    const JpegEdit edit = WithApp1Segment(kJfifJpeg, payload);
    ASSERT_EQ(edit.error, "");
    EXPECT_EQ(Bytes(edit.bytes.begin() + 20, edit.bytes.begin() + 22), (Bytes{0xFF, 0xE1})) << "after JFIF";
    std::ofstream(dir / "moment.jpg", std::ios::binary)
        .write(reinterpret_cast<const char*>(edit.bytes.data()), std::streamsize(edit.bytes.size()));
    const auto tags = ExifToolTags(dir / "moment.jpg");
    EXPECT_EQ(tags.count("Warning"), 0u) << (tags.count("Warning") ? tags.at("Warning") : "");
    for (const auto& [key, value] : c.expected) ExpectTag(tags, key, value);
    for (const std::string& key : c.absent) EXPECT_EQ(tags.count(key), 0u) << key;
  }
  EXPECT_TRUE(ExifPayloadOf(FrameMomentAt({}, 1000, std::nullopt, 60)).empty()) << "nothing known, nothing written";
}

TEST(SnapshotExif, SegmentIsRefusedForWhatIsNotAJpegAndForAPayloadPastTheSegmentLimit) {
  const Bytes payload{'E', 'x', 'i', 'f', 0, 0};
  const Bytes noJfif{0xFF, 0xD8, 0xFF, 0xDB, 0, 2, 0xFF, 0xD9};
  Bytes cutJfif = kJfifJpeg;
  cutJfif.resize(12);
  const struct {
    const char* name;
    Bytes jpeg;
  } refused[] = {{"empty", {}}, {"PNG", {0x89, 'P', 'N', 'G', 13, 10, 26, 10}}, {"start of image only", {0xFF, 0xD8}},
                 {"JFIF segment past the end", cutJfif}};
  for (const auto& c : refused) EXPECT_NE(WithApp1Segment(c.jpeg, payload).error, "") << c.name;

  const JpegEdit first = WithApp1Segment(noJfif, payload);
  EXPECT_EQ(Bytes(first.bytes.begin(), first.bytes.begin() + 6), (Bytes{0xFF, 0xD8, 0xFF, 0xE1, 0, 8}))
      << "right after the start of image when no JFIF segment leads";
  EXPECT_EQ(WithApp1Segment(kJfifJpeg, Bytes(kLargestSegmentPayload)).bytes.size(),
            kJfifJpeg.size() + 4 + kLargestSegmentPayload);
  EXPECT_NE(WithApp1Segment(kJfifJpeg, Bytes(kLargestSegmentPayload + 1)).error, "");
}

}  // namespace
}  // namespace vx
