// Pittasoft free-box and side-file telemetry and NMEA logs: our readers on a fixture of ours, and ExifTool
// reading the same fixture as an independent reader.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "ExifToolFixes.h"
#include "NmeaText.h"
#include "core/telemetry/layouts/NmeaTelemetry.h"
#include "core/telemetry/layouts/PittasoftTelemetry.h"

namespace vx {
namespace {

using test::Box, test::Bytes, test::Text, test::WithChecksum, test::operator+;

// Two good fixes (the second with its GGA altitude), then lines that are no fix: void, 0/0, out of range,
// empty fields and a wrong checksum.
const std::string kNmea = WithChecksum("GPRMC,101500.00,A,3733.1234,N,12658.5678,E,30.0,90.5,120624,,,A") + "\r\n" +
                          WithChecksum("GPGGA,101501.00,3733.2000,N,12658.6000,E,1,08,0.9,45.5,M,0.0,M,,") + "\r\n" +
                          WithChecksum("GPRMC,101501.00,A,3733.2000,N,12658.6000,E,31.5,91.0,120624,,,A") + "\n" +
                          WithChecksum("GPRMC,101502.00,V,3733.3000,N,12658.7000,E,0.0,,120624,,,N") + "\n" +
                          WithChecksum("GPRMC,101503.00,A,0000.0000,N,00000.0000,E,0.0,,120624,,,A") + "\n" +
                          WithChecksum("GPRMC,101504.00,A,9533.0000,N,12658.7000,E,0.0,,120624,,,A") + "\n" +
                          WithChecksum("GPRMC,101505.00,A,,N,12658.7000,E,0.0,,120624,,,A") + "\n" +
                          "$GPRMC,101506.00,A,3733.3000,N,12658.7000,E,1.0,,120624,,,A*00\n";

// The same lines, each stamped with the camera's milliseconds since 1970 as the gps part holds them.
Bytes StampedGps() {
  std::string out;
  std::int64_t stamp = 1718187300000;
  for (std::size_t at = 0, end; (end = kNmea.find('\n', at)) != std::string::npos; at = end + 1) {
    const std::string line = kNmea.substr(at, end + 1 - at);
    out += "[" + std::to_string(stamp) + "]" + line;
    if (line.find("RMC") != std::string::npos) stamp += 1000;
  }
  return Text(out) + Bytes(3, 0);
}

// Big-endian G records at rest (128 counts = 1 g on z), ended by 0xFFFFFFFF and 0xFF padding.
Bytes Accel() {
  Bytes out;
  for (std::uint32_t ms : {0u, 100u, 200u}) out = out + test::Be32(ms) + Bytes{0, 0, 0, 0, 0, 128};
  return out + Bytes(10, 0xFF);
}

// ftyp, moov with a movie header, mdat and the camera's free box: enough of an MP4 for ExifTool.
const Bytes kFile = test::kFtyp + Box("moov", test::kMvhd) + Box("mdat", Bytes(64, 0)) +
                    Box("free", Box("gps ", StampedGps()) + Box("3gf ", Accel()));
const Bytes kGpsText = StampedGps();
const Bytes kNmeaText = Text(kNmea);
const Bytes kNoTelemetry = Box("ftyp", Text("isom")) + Box("mdat", Bytes(16, 0));

Bytes Damaged(Bytes b, std::size_t at) {
  b[at] = 0x01;
  return b;
}
TelemetryTrack Pitta(const Bytes& file, std::map<std::string, Bytes> side = {}) {
  return ReadPittasoftTelemetry(MemoryByteSource(file), test::SideFilesOf(std::move(side)));
}
TelemetryTrack Nmea(std::map<std::string, Bytes> side) { return ReadNmeaTelemetry(test::SideFilesOf(std::move(side))); }

// The first two fixes in common units: valid, latitude, longitude and speed in 1e-7, heading, UTC (from
// 2024-06-12 10:15:00), altitude, media time.
using Fix = std::tuple<bool, long, long, long, std::optional<double>, std::optional<std::int64_t>, std::optional<double>,
                       std::uint32_t>;
const Fix kFixes[] = {{true, 375520567, 1269761300, 555600000, 90.5, 1718187300000, std::nullopt, 0},
                      {true, 375533333, 1269766667, 583380000, 91.0, 1718187301000, 45.5, 1000}};

// What a reader made of a case: layout, fixes, accelerometer samples and those at rest, a warning.
using Reading = std::tuple<std::string, std::size_t, std::size_t, std::size_t, bool>;
Reading ReadingOf(const TelemetryTrack& t) {
  return {t.layout, t.gps.size(), t.accel.size(), std::ranges::count(t.accel, 1.0, &AccelSample::z), !t.warning.empty()};
}

// ExifTool takes any RMC with a position, five in the free box (it keeps 0/0, a latitude of 95 and wrong
// checksums, which are no fix for us); our two come first among them.
TEST(SideTelemetry, ReadersFindTheFixesAsExifToolDoesAndStopAtDamage) {
  const test::TempDir dir("pittasoft");
  test::ExpectExifToolAgrees(dir / "20240612_191500_NF.mp4", kFile, Pitta(kFile), 5);
  const std::size_t secondLine = kGpsText.size() / 8 * 2;  // inside the third line, after two fixes
  const std::pair<TelemetryTrack, Reading> cases[] = {
      {Pitta(kFile), {"Pittasoft free box", 2, 3, 3, false}},
      {Pitta(kFile, {{".gps", {}}}), {"Pittasoft free box", 2, 3, 3, false}},  // the free box wins over side files
      {Pitta(test::Cut(kFile, 15)), {"Pittasoft free box", 2, 2, 2, true}},
      {Pitta(test::Cut(kFile, 8 + 38 + 8 + 200)), {"Pittasoft free box", 2, 0, 0, true}},  // 3gf gone, gps cut
      {Pitta(kNoTelemetry, {{".gps", kGpsText}, {".3gf", Accel()}}), {"Pittasoft side files", 2, 3, 3, false}},
      {Pitta(kNoTelemetry, {{".gps", Damaged(kGpsText, secondLine)}}), {"Pittasoft side files", 1, 0, 0, true}},
      {Nmea({{".LOG", kNmeaText}}), {"NMEA log", 2, 0, 0, false}},
      {Nmea({{".nmea", kNmeaText}, {".LOG", {}}}), {"NMEA log", 2, 0, 0, false}},  // suffixes tried in order
      {Nmea({{".NMEA", Damaged(kNmeaText, 80)}}), {"NMEA log", 1, 0, 0, true}},
      {Pitta(kNoTelemetry), {"", 0, 0, 0, false}},
      {Nmea({}), {"", 0, 0, 0, false}},
  };
  for (const auto& [track, reading] : cases) {
    SCOPED_TRACE("case " + std::to_string(&reading - &cases[0].second));
    EXPECT_EQ(ReadingOf(track), reading) << track.warning;
    for (std::size_t i = 0; i < std::min(track.gps.size(), std::size(kFixes)); ++i) {
      const GpsSample& f = track.gps[i];
      EXPECT_EQ(Fix(f.valid, std::lround(f.latitude * 1e7), std::lround(f.longitude * 1e7), std::lround(f.speedKmh * 1e7),
                    f.headingDeg, f.utcMs, f.altitudeM, f.mediaMs),
                kFixes[i]);
    }
  }
}

}  // namespace
}  // namespace vx
