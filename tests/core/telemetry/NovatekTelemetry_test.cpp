// Novatek freeGPS telemetry: our reader on written fixtures, its reads bounded to the index, and ExifTool's
// reading of the same files.
#include "core/telemetry/layouts/NovatekTelemetry.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <fstream>
#include <regex>
#include <tuple>

#include "ToolRunner.h"

namespace vx {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Fix {
  std::uint32_t hour, minute, second, year, month, day;
  char status, northSouth, eastWest;
  float latitude, longitude, knots, heading;
  std::int32_t accel[3] = {};
};

void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) { std::memcpy(&b[at], &v, 4); }
void PutBe32(Bytes& b, std::size_t at, std::uint32_t v) { PutLe32(b, at, __builtin_bswap32(v)); }
Bytes Box(const char* type, const Bytes& payload) {
  Bytes box(8);
  PutBe32(box, 0, static_cast<std::uint32_t>(payload.size() + 8));
  std::memcpy(&box[4], type, 4);
  box.insert(box.end(), payload.begin(), payload.end());
  return box;
}

// A freeGPS block with the record at `statusAt` (0x48 common layout, 0x28 the accelerometer variant).
Bytes Block(const Fix& f, std::size_t statusAt, std::size_t size) {
  Bytes b(size);
  PutBe32(b, 0, static_cast<std::uint32_t>(size));
  std::memcpy(&b[4], "freeGPS ", 8);
  const std::uint32_t fields[] = {f.hour, f.minute, f.second, f.year, f.month, f.day};
  for (int i = 0; i < 6; ++i) PutLe32(b, statusAt - 24 + 4 * i, fields[i]);
  b[statusAt] = f.status, b[statusAt + 1] = f.northSouth, b[statusAt + 2] = f.eastWest;
  const float floats[] = {f.latitude, f.longitude, f.knots, f.heading};
  for (int i = 0; i < 4; ++i) PutLe32(b, statusAt + 4 + 4 * i, std::bit_cast<std::uint32_t>(floats[i]));
  if (statusAt == 0x28) {
    for (int i = 0; i < 3; ++i) PutLe32(b, 0x3c + 4 * i, static_cast<std::uint32_t>(f.accel[i]));
  }
  return b;
}

// ftyp, moov (holding the `gps ` index when asked), and mdat: `lead` filler bytes, then one block per fix.
Bytes Recording(const std::vector<Fix>& fixes, std::size_t statusAt, std::size_t blockSize, bool indexed,
                std::size_t lead = 0) {
  const Bytes ftyp = Box("ftyp", {'i', 's', 'o', 'm', 0, 0, 2, 0, 'i', 's', 'o', 'm'});
  Bytes index(8 + 8 * fixes.size());
  PutBe32(index, 4, static_cast<std::uint32_t>(fixes.size()));
  const std::size_t moovSize = indexed ? 16 + index.size() : 8;
  Bytes media(lead, 0xAB);
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    PutBe32(index, 8 + 8 * i, static_cast<std::uint32_t>(ftyp.size() + moovSize + 8 + media.size()));
    PutBe32(index, 12 + 8 * i, static_cast<std::uint32_t>(blockSize));
    const Bytes block = Block(fixes[i], statusAt, blockSize);
    media.insert(media.end(), block.begin(), block.end());
  }
  Bytes file = ftyp;
  for (const Bytes& box : {Box("moov", indexed ? Box("gps ", index) : Bytes{}), Box("mdat", media)})
    file.insert(file.end(), box.begin(), box.end());
  return file;
}

const Fix kMunich{10, 20, 30, 24, 5, 17, 'A', 'N', 'E', 4807.038f, 1131.0f, 10.0f, 84.4f, {256, -128, 512}};
const Fix kSydney{10, 20, 31, 24, 5, 17, 'A', 'S', 'W', 3351.5f, 15112.75f, 54.0f, 359.0f, {0, 64, 256}};
const Fix kVoid{10, 20, 32, 24, 5, 17, 'V', 0, 0, 0.0f, 0.0f, 0.0f, 0.0f};
const Fix kZeroZero{10, 20, 33, 24, 5, 17, 'A', 'N', 'E', 0.0f, 0.0f, 0.0f, 0.0f};
const Fix kPastPole{10, 20, 34, 24, 5, 17, 'A', 'N', 'E', 9130.0f, 1131.0f, 1.0f, 1.0f};
const Fix kThirtiethFeb{10, 20, 35, 23, 2, 30, 'A', 'N', 'E', 4807.038f, 1131.0f, 1.0f, 1.0f};

// Each fixture with what it reads as: valid fixes (the first `valid` of Munich, Sydney), all samples,
// accelerometer samples, a warning; `exifTool` when every fix ExifTool reads from it is one we call valid.
struct Fixture {
  const char* name;
  Bytes file;
  std::size_t valid, samples, accel;
  bool warned, exifTool;
};

std::vector<Fixture> Fixtures() {
  Bytes cut = Recording({kMunich, kSydney, kMunich}, 0x48, 0x4000, true);
  cut.resize(cut.size() - 0x4000 + 40);
  return {
      {"indexed", Recording({kMunich, kSydney, kVoid}, 0x48, 0x4000, true), 2, 3, 0, false, true},
      {"accelerometer variant", Recording({kMunich, kSydney}, 0x28, 0x4000, true), 2, 2, 2, false, true},
      {"scanned", Recording({kMunich, kSydney, kVoid}, 0x48, 0x8000, false, 0x1234), 2, 3, 0, false, true},
      {"cut", cut, 2, 2, 0, true, true},
      {"implausible", Recording({kZeroZero, kPastPole, kThirtiethFeb}, 0x48, 0x4000, true), 0, 3, 0, false, false},
      {"no freeGPS", Recording({}, 0x48, 0x4000, false, 0x9000), 0, 0, 0, false, true},
  };
}

TEST(NovatekTelemetry, ReadsBothLayoutsByIndexOrScanAndStopsAtDamage) {
  const std::array<double, 3> expected[] = {{48.1173, 11.516666, 18.52}, {-33.858333, -151.2125, 100.008}};
  for (const Fixture& fixture : Fixtures()) {
    SCOPED_TRACE(fixture.name);
    const TelemetryTrack track = ReadNovatekTelemetry(MemoryByteSource(fixture.file));
    EXPECT_EQ(track.layout, fixture.samples ? "Novatek freeGPS" : "");
    EXPECT_EQ(track.gps.size(), fixture.samples);
    EXPECT_EQ(track.accel.size(), fixture.accel);
    EXPECT_EQ(track.warning.empty(), !fixture.warned) << track.warning;
    std::size_t valid = 0;
    for (const GpsSample& fix : track.gps) {
      if (!fix.valid || valid == fixture.valid) {
        EXPECT_FALSE(fix.valid);
        continue;
      }
      EXPECT_NEAR(fix.latitude, expected[valid][0], 1e-5);
      EXPECT_NEAR(fix.longitude, expected[valid][1], 1e-5);
      EXPECT_NEAR(fix.speedKmh, expected[valid++][2], 1e-3);
    }
    EXPECT_EQ(valid, fixture.valid);
  }
  // Times are UTC from the block's own fields, media times one second a block; accelerometer in 1/256 g.
  const TelemetryTrack track = ReadNovatekTelemetry(MemoryByteSource(Fixtures()[1].file));
  EXPECT_EQ(track.gps[0].utcMs, 1715941230000);  // 2024-05-17 10:20:30 UTC
  EXPECT_EQ(track.gps[1].mediaMs, 1000u);
  EXPECT_EQ(track.gps[1].headingDeg, 359.0);
  EXPECT_EQ(std::make_tuple(track.accel[0].x, track.accel[0].y, track.accel[0].z), std::make_tuple(1.0, -0.5, 2.0));
}

// Memory bytes that count what is read of them.
struct CountingByteSource final : ByteSource {
  explicit CountingByteSource(Bytes file) : bytes(std::move(file)) {}
  std::uint64_t Size() const override { return memory.Size(); }
  bool Read(std::uint64_t at, std::span<std::uint8_t> out) const override {
    read += out.size();
    return memory.Read(at, out);
  }
  Bytes bytes;
  MemoryByteSource memory{bytes};
  mutable std::uint64_t read = 0;
};

TEST(NovatekTelemetry, AnIndexedRecordingIsReadThroughItsIndexAndBlockHeadsOnly) {
  const CountingByteSource threeMinutes(Recording(std::vector<Fix>(180, kMunich), 0x48, 0x8000, true));
  EXPECT_EQ(ReadNovatekTelemetry(threeMinutes).gps.size(), 180u);
  EXPECT_LT(threeMinutes.read, 180u * 0x100);  // of a 5.9 MB file
}

// ExifTool's positions and speeds, in document order, from its JSON.
std::vector<std::array<double, 3>> ExifToolFixes(const std::string& path) {
  const test::ToolOutput run = test::RunTool("exiftool -ee -n -j -a -G3 " + test::Quote(path));
  EXPECT_EQ(run.status, 0) << "ExifTool is needed (Debian libimage-exiftool-perl)";
  std::vector<std::array<double, 3>> fixes;
  const std::regex tag(R"re("Doc(\d+):GPS(Latitude|Longitude|Speed)": (-?[0-9.eE+-]+))re");
  for (auto it = std::sregex_iterator(run.out.begin(), run.out.end(), tag); it != std::sregex_iterator(); ++it) {
    const std::size_t doc = std::stoul((*it)[1]);
    if (doc > fixes.size()) fixes.resize(doc);
    const std::string field = (*it)[2];
    fixes[doc - 1][field == "Latitude" ? 0 : field == "Longitude" ? 1 : 2] = std::stod((*it)[3]);
  }
  return fixes;
}

TEST(NovatekTelemetry, ExifToolReadsTheSameFixesFromOurFixtures) {
  const test::TempDir dir("novatek");
  for (const Fixture& fixture : Fixtures()) {
    if (!fixture.exifTool) continue;
    SCOPED_TRACE(fixture.name);
    const std::string path = dir / "fixture.mp4";
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(fixture.file.data()),
                                                static_cast<std::streamsize>(fixture.file.size()));
    const auto theirs = ExifToolFixes(path);
    std::vector<GpsSample> ours;
    for (const GpsSample& fix : ReadNovatekTelemetry(MemoryByteSource(fixture.file)).gps)
      if (fix.valid) ours.push_back(fix);
    ASSERT_EQ(theirs.size(), ours.size());
    for (std::size_t i = 0; i < ours.size(); ++i) {
      EXPECT_NEAR(theirs[i][0], ours[i].latitude, 1e-5);
      EXPECT_NEAR(theirs[i][1], ours[i].longitude, 1e-5);
      EXPECT_NEAR(theirs[i][2], ours[i].speedKmh, 0.1);
    }
  }
}

}  // namespace
}  // namespace vx
