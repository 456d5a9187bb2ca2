// AVI gps0/gsen chunks, Garmin's GPS uuid box and 70mai's GPS box: our readers on fixtures written here as
// the cameras write them, and ExifTool reading the same files.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <ctime>
#include <tuple>

#include "ExifToolFixes.h"
#include "core/telemetry/layouts/AviTelemetry.h"
#include "core/telemetry/layouts/GarminTelemetry.h"
#include "core/telemetry/layouts/SeventyMaiTelemetry.h"

namespace vx {
namespace {

using test::Be32, test::Box, test::Bytes, test::Chunk, test::Cut, test::kFtyp, test::kMvhd, test::Le, test::List,
    test::Text, test::operator+;

// One fix as the fixtures write it; each layout stores it in its own way.
struct Fix {
  double latitude, longitude;  // degrees
  double speedKmh;
  std::int64_t unixSeconds;
};
const Fix kSeoul{37.55206, 126.97630, 43.0, 1718187300};   // 2024-06-12 10:15:00 UTC
const Fix kSantiago{-33.44890, -70.66930, 90.0, 1718187301};
const Fix kNoFix{0.0, 0.0, 0.0, 1718187302};                  // 0/0 before the receiver has a fix

// Degrees as DDDMM.MMMM.
double Ddmm(double degrees) {
  const double whole = std::trunc(std::abs(degrees));
  return std::copysign(whole * 100.0 + (std::abs(degrees) - whole) * 60.0, degrees);
}

// 32 bytes: DDDMM.MMMM doubles, altitude 38 m, km/h, the date and time (month given apart, to write an
// impossible one), heading 90° in 2° units, then the bytes "1 1 0" that cameras write.
Bytes Gps0(const Fix& f, unsigned month = 6) {
  const std::time_t t = f.unixSeconds;
  std::tm utc{};
  gmtime_r(&t, &utc);
  const auto ddmm = [](double degrees) { return Le(std::bit_cast<std::uint64_t>(Ddmm(degrees)), 8); };
  return ddmm(f.latitude) + ddmm(f.longitude) + Le(38, 4) + Le(std::uint16_t(f.speedKmh), 2) +
         Bytes{std::uint8_t(utc.tm_year - 100), std::uint8_t(month), std::uint8_t(utc.tm_mday),
               std::uint8_t(utc.tm_hour), std::uint8_t(utc.tm_min), std::uint8_t(utc.tm_sec), 45, 1, 1, 0};
}

constexpr std::size_t kAviIndexBytes = 8 + 4 * 16;  // idx1 of a four-second fixture; each second is 174 bytes

// hdrl, then per second a video frame, the gps0 record and five gsen records, then the index of the frames.
Bytes Avi(const std::vector<Bytes>& gpsRecords) {
  const Bytes avih = Le(1000000, 4) + Bytes(12, 0) + Le(gpsRecords.size(), 4) + Bytes(36, 0);
  Bytes movi, index;
  for (const Bytes& record : gpsRecords) {
    index = index + Text("00dc") + Le(0x10, 4) + Le(movi.size() + 4, 4) + Le(101, 4);
    movi = movi + Chunk("00dc", Bytes(101, 0x5A)) + Chunk("gps0", record) +
           Chunk("gsen", Bytes{16, 0xF8, 32, 0, 0, 16, 0, 0, 16, 0, 0, 16, 0, 0, 16});
  }
  const Bytes body = List("LIST", "hdrl", Chunk("avih", avih)) + List("LIST", "movi", movi) + Chunk("idx1", index);
  return Text("RIFF") + Le(body.size() + 4, 4) + Text("AVI ") + body;
}


// Big-endian 20-byte records after Garmin's identifier and its 17-byte header; the movie header at the end
// of the file, where a cut file loses it.
Bytes GarminRecord(const Fix& f) {
  const auto semicircles = [](double degrees) {
    return Be32(std::uint32_t(std::int32_t(std::lround(degrees * 2147483648.0 / 180.0))));
  };
  const std::uint16_t mph = std::uint16_t(std::lround(f.speedKmh / 1.609344));
  return Be32(std::uint32_t(f.unixSeconds + 2082844800)) + Bytes{std::uint8_t(mph >> 8), std::uint8_t(mph)} +
         Bytes(6, 0) + semicircles(f.latitude) + semicircles(f.longitude);
}
Bytes Garmin(const std::vector<Bytes>& records) {
  Bytes uuid{0x9b, 0x63, 0x0f, 0x8d, 0x63, 0x74, 0x40, 0xec, 0x82, 0x04, 0xbc, 0x5f, 0xf5, 0x09, 0x17, 0x28};
  uuid = uuid + Bytes(17, 0);
  for (const Bytes& r : records) uuid = uuid + r;
  return kFtyp + Box("mdat", Bytes(64, 0)) + Box("moov", kMvhd + Box("uuid", uuid));
}

// Little-endian 36-byte records with DDMM.MMM × 1000 and hemisphere letters, padded with zero records, in a
// top-level box written when the file is closed.
Bytes SeventyMaiRecord(const Fix& f, char northSouth, char eastWest) {
  const auto thousandths = [](double v) { return Le(std::uint32_t(std::lround(std::abs(v) * 1000.0)), 4); };
  return Le(1, 4) + Le(1, 4) + Le(std::uint32_t(f.unixSeconds), 4) + thousandths(f.speedKmh) +
         Bytes{std::uint8_t(northSouth)} + thousandths(Ddmm(f.latitude)) + Bytes{std::uint8_t(eastWest)} +
         thousandths(Ddmm(f.longitude)) + Bytes(10, 0);
}
Bytes SeventyMai(const std::vector<Bytes>& records) {
  Bytes gps;
  for (const Bytes& r : records) gps = gps + r;
  return kFtyp + Box("mdat", Bytes(64, 0)) + Box("moov", kMvhd) + Box("GPS ", gps + Bytes(36 * 3, 0));
}

// ExifTool drops an MP4 box cut short altogether, where we keep its whole records: the fixes of a cut box are
// held against ExifTool's reading of the whole file, whose first ones they must be.
std::vector<test::LayoutFixture> Fixtures() {
  const Bytes avi = Avi({Gps0(kSeoul), Gps0(kSantiago), Gps0(kNoFix), Gps0(kSeoul, 13)});
  const Bytes garmin = Garmin({GarminRecord(kSeoul), GarminRecord(kSantiago), GarminRecord(kNoFix),
                               GarminRecord({37.5, 127.0, 10.0, 0})});
  const Bytes seventyMai = SeventyMai({SeventyMaiRecord(kSeoul, 'N', 'E'), SeventyMaiRecord(kSantiago, 'S', 'W'),
                                       SeventyMaiRecord(kNoFix, 'N', 'E'), SeventyMaiRecord(kSeoul, 0, 0)});
  constexpr double kMph = 1.609344;
  return {
      {"AVI", avi, {kAviGpsLayoutName, 4, 2, 20, false}, 4},
      {"AVI cut in the third frame", Cut(avi, kAviIndexBytes + 174 + 100), {kAviGpsLayoutName, 2, 2, 10, true}, 2},
      {"Garmin", garmin, {kGarminLayoutName, 4, 2, 0, false}, 4, kMph},
      {"Garmin cut in the third record", Cut(garmin, 30), {kGarminLayoutName, 2, 2, 0, true}, 4, kMph, garmin},
      {"70mai", seventyMai, {kSeventyMaiLayoutName, 4, 2, 0, false}, 4},
      {"70mai cut in the third record", Cut(seventyMai, 36 * 4 + 20), {kSeventyMaiLayoutName, 2, 2, 0, true}, 4, 1.0,
       seventyMai},
  };
}

// Each layout's own epoch and clock: the first record's UTC, one record a second. AVI records also carry
// altitude and heading, and five G records a second in 1/16 g.
TEST(ContainerTelemetry, ReadsEachLayoutsFixesAndStopsAtDamageAsExifToolDoes) {
  const std::vector<TelemetryTrack> tracks = test::ExpectFixturesRead(Fixtures());
  for (const TelemetryTrack& track : tracks) {
    EXPECT_EQ(std::tuple(track.gps.at(0).utcMs, track.gps.at(1).mediaMs), std::tuple(kSeoul.unixSeconds * 1000, 1000u));
  }
  const GpsSample& fix = tracks[0].gps[0];
  const AccelSample& a = tracks[0].accel.at(0);
  EXPECT_EQ(std::tuple(fix.altitudeM, fix.headingDeg, a.x, a.y, a.z, tracks[0].accel.at(5).mediaMs),
            std::tuple(38.0, 90.0, 1.0, -0.5, 2.0, 1000u));
}

}  // namespace
}  // namespace vx
