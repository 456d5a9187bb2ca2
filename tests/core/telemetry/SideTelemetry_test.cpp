// Pittasoft free-box and side-file telemetry and NMEA logs: our readers on a fixture of ours, and ExifTool
// reading the same fixture as an independent reader.
#include <gtest/gtest.h>

#include <ctime>
#include <fstream>
#include <map>
#include <regex>

#include "ToolRunner.h"
#include "core/telemetry/layouts/NmeaTelemetry.h"
#include "core/telemetry/layouts/PittasoftTelemetry.h"

namespace vx {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Box(const char* type, const Bytes& payload) {
  const auto size = static_cast<std::uint32_t>(payload.size() + 8);
  Bytes box{std::uint8_t(size >> 24), std::uint8_t(size >> 16), std::uint8_t(size >> 8), std::uint8_t(size)};
  box.insert(box.end(), type, type + 4);
  box.insert(box.end(), payload.begin(), payload.end());
  return box;
}
Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }
Bytes operator+(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

std::string WithChecksum(const std::string& body) {
  std::uint8_t sum = 0;
  for (const char c : body) sum ^= static_cast<std::uint8_t>(c);
  char tail[8];
  std::snprintf(tail, sizeof tail, "*%02X", sum);
  return "$" + body + tail;
}

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
  for (std::uint32_t ms : {0u, 100u, 200u}) {
    out.insert(out.end(), {std::uint8_t(ms >> 24), std::uint8_t(ms >> 16), std::uint8_t(ms >> 8), std::uint8_t(ms)});
    out.insert(out.end(), {0, 0, 0, 0, 0, 128});
  }
  return out + Bytes(10, 0xFF);
}

// ftyp, moov with a movie header, mdat and the camera's free box: enough of an MP4 for ExifTool.
Bytes PittasoftMp4() {
  Bytes mvhd(100, 0);
  mvhd[15] = 0x03, mvhd[14] = 0xE8;  // time scale 1000
  const Bytes free = Box("free", Box("gps ", StampedGps()) + Box("3gf ", Accel()));
  return Box("ftyp", Text("isom") + Bytes{0, 0, 2, 0} + Text("isommp41")) + Box("moov", Box("mvhd", mvhd)) +
         Box("mdat", Bytes(64, 0)) + free;
}

SideFiles Side(std::map<std::string, Bytes> files) {
  auto held = std::make_shared<std::map<std::string, Bytes>>(std::move(files));
  return [held](std::string_view suffix) -> std::unique_ptr<ByteSource> {
    const auto it = held->find(std::string(suffix));
    return it == held->end() ? nullptr : std::make_unique<MemoryByteSource>(it->second);
  };
}

struct Case {
  const char* name;
  std::function<TelemetryTrack()> read;
  const char* layout;
  std::size_t fixes;        // every one valid
  std::size_t accel;
  bool warned;
};

const Bytes kFile = PittasoftMp4();
const Bytes kGpsText = StampedGps();
const Bytes kNmeaText = Text(kNmea);
const Bytes kNoTelemetry = Box("ftyp", Text("isom")) + Box("mdat", Bytes(16, 0));

Bytes Cut(const Bytes& b, std::size_t keep) { return Bytes(b.begin(), b.begin() + keep); }
Bytes Damaged(Bytes b, std::size_t at) {
  b[at] = 0x01;
  return b;
}
TelemetryTrack Pitta(const Bytes& file, std::map<std::string, Bytes> side = {}) {
  return ReadPittasoftTelemetry(MemoryByteSource(file), Side(std::move(side)));
}
TelemetryTrack Nmea(std::map<std::string, Bytes> side) { return ReadNmeaTelemetry(Side(std::move(side))); }

TEST(SideTelemetry, ReadersFindTheFixesAndStopAtDamage) {
  const std::size_t secondLine = kGpsText.size() / 8 * 2;  // inside the third line, after two fixes
  const std::size_t gpsEnd = kFile.size() - 8 - 38 - 8;     // cuts the 3gf part and its end mark
  const Case cases[] = {
      {"free box", [] { return Pitta(kFile); }, "Pittasoft free box", 2, 3, false},
      {"free box wins over side files", [] { return Pitta(kFile, {{".gps", {}}}); }, "Pittasoft free box", 2, 3, false},
      {"free box cut in the G records", [&] { return Pitta(Cut(kFile, kFile.size() - 15)); }, "Pittasoft free box", 2, 2, true},
      {"free box cut in the text", [&] { return Pitta(Cut(kFile, gpsEnd - 200)); }, "Pittasoft free box", 2, 0, true},
      {"side files", [] { return Pitta(kNoTelemetry, {{".gps", kGpsText}, {".3gf", Accel()}}); }, "Pittasoft side files", 2, 3, false},
      {"damaged side text", [&] { return Pitta(kNoTelemetry, {{".gps", Damaged(kGpsText, secondLine)}}); }, "Pittasoft side files", 1, 0, true},
      {"nothing", [] { return Pitta(kNoTelemetry); }, "", 0, 0, false},
      {"NMEA log", [] { return Nmea({{".LOG", kNmeaText}}); }, "NMEA log", 2, 0, false},
      {"NMEA suffix order", [] { return Nmea({{".nmea", kNmeaText}, {".LOG", {}}}); }, "NMEA log", 2, 0, false},
      {"damaged NMEA log", [&] { return Nmea({{".NMEA", Damaged(kNmeaText, 80)}}); }, "NMEA log", 1, 0, true},
      {"no log", [] { return Nmea({}); }, "", 0, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TelemetryTrack track = c.read();
    EXPECT_EQ(track.layout, c.layout);
    ASSERT_EQ(track.gps.size(), c.fixes);
    EXPECT_EQ(track.accel.size(), c.accel);
    EXPECT_EQ(!track.warning.empty(), c.warned) << track.warning;
    for (const AccelSample& a : track.accel) EXPECT_NEAR(a.z, 1.0, 1e-9);
    if (c.fixes < 2) continue;
    const GpsSample& first = track.gps[0];
    const GpsSample& second = track.gps[1];
    EXPECT_TRUE(first.valid && second.valid);
    EXPECT_NEAR(first.latitude, 37 + 33.1234 / 60, 1e-9);
    EXPECT_NEAR(first.longitude, 126 + 58.5678 / 60, 1e-9);
    EXPECT_NEAR(first.speedKmh, 30 * 1.852, 1e-9);
    EXPECT_EQ(first.headingDeg, 90.5);
    EXPECT_EQ(first.utcMs, 1718187300000);  // 2024-06-12 10:15:00 UTC
    EXPECT_EQ(first.altitudeM, std::nullopt);
    EXPECT_EQ(second.altitudeM, 45.5);
    EXPECT_EQ(first.mediaMs, 0u);
    EXPECT_EQ(second.mediaMs, 1000u);
  }
}

struct ExifFix {
  double latitude, longitude, speedKmh;
};

// ExifTool's fixes by their "YYYY:MM:DD HH:MM:SS" time, from its per-document JSON.
std::map<std::string, ExifFix> ExifFixes(const std::string& json) {
  static const std::regex fix(
      R"re("Doc(\d+):GPSDateTime": "([^."]+)[^"]*",\s*"Doc\1:GPSLatitude": ([-0-9.e]+),\s*)re"
      R"re("Doc\1:GPSLongitude": ([-0-9.e]+),\s*"Doc\1:GPSSpeed": ([-0-9.e]+))re");
  std::map<std::string, ExifFix> fixes;
  for (std::sregex_iterator it(json.begin(), json.end(), fix), end; it != end; ++it) {
    fixes[(*it)[2]] = {std::stod((*it)[3]), std::stod((*it)[4]), std::stod((*it)[5])};
  }
  return fixes;
}

std::string ExifTime(std::int64_t utcMs) {
  const std::time_t seconds = utcMs / 1000;
  std::tm tm{};
  gmtime_r(&seconds, &tm);
  char text[32];
  std::strftime(text, sizeof text, "%Y:%m:%d %H:%M:%S", &tm);
  return text;
}

// ExifTool takes any RMC with a position (it keeps 0/0, a latitude of 95 and wrong checksums, which are no
// fix for us); every fix we read must be among its fixes, at the same place and speed.
TEST(SideTelemetry, ExifToolReadsTheSameFixesFromTheFreeBox) {
  const test::TempDir dir("pittasoft");
  const std::string path = dir / "20240612_191500_NF.mp4";
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kFile.data()), kFile.size());
  const test::ToolOutput exif = test::RunTool("LC_ALL=C exiftool -ee -n -j -a -G3 " + test::Quote(path));
  ASSERT_EQ(exif.status, 0) << "ExifTool is needed as the independent reader: " << exif.out;
  const std::map<std::string, ExifFix> theirs = ExifFixes(exif.out);
  EXPECT_EQ(theirs.size(), 5u) << exif.out;
  const TelemetryTrack ours = Pitta(kFile);
  ASSERT_EQ(ours.gps.size(), 2u);
  for (const GpsSample& fix : ours.gps) {
    const auto it = theirs.find(ExifTime(*fix.utcMs));
    ASSERT_NE(it, theirs.end()) << ExifTime(*fix.utcMs) << "\n" << exif.out;
    EXPECT_NEAR(it->second.latitude, fix.latitude, 1e-5);
    EXPECT_NEAR(it->second.longitude, fix.longitude, 1e-5);
    EXPECT_NEAR(it->second.speedKmh, fix.speedKmh, 0.1);
  }
}

}  // namespace
}  // namespace vx
