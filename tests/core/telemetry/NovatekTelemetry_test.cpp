// Novatek freeGPS telemetry: our reader on written fixtures, its reads bounded to the index, and ExifTool's
// reading of the same files.
#include "core/telemetry/layouts/NovatekTelemetry.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <tuple>

#include "ExifToolFixes.h"

namespace vx {
namespace {

using test::Be32, test::Box, test::Bytes, test::operator+;

struct Fix {
  std::uint32_t hour, minute, second, year, month, day;
  char status, northSouth, eastWest;
  float latitude, longitude, knots, heading;
  std::int32_t accel[3] = {};
};

void PutLe32(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = std::uint8_t(v >> 8 * i);
}

// A freeGPS block with the record at `statusAt` (0x48 common layout, 0x28 the accelerometer variant).
Bytes Block(const Fix& f, std::size_t statusAt, std::size_t size) {
  Bytes b = Be32(static_cast<std::uint32_t>(size)) + test::Text("freeGPS ");
  b.resize(size);
  const std::uint32_t status = std::uint32_t(f.status) | f.northSouth << 8 | f.eastWest << 16;
  const std::uint32_t fields[] = {f.hour, f.minute, f.second, f.year, f.month, f.day, status,
                                  std::bit_cast<std::uint32_t>(f.latitude), std::bit_cast<std::uint32_t>(f.longitude),
                                  std::bit_cast<std::uint32_t>(f.knots), std::bit_cast<std::uint32_t>(f.heading)};
  for (int i = 0; i < 11; ++i) PutLe32(b, statusAt - 24 + 4 * i, fields[i]);
  for (int i = 0; i < 3 && statusAt == 0x28; ++i) PutLe32(b, 0x3c + 4 * i, static_cast<std::uint32_t>(f.accel[i]));
  return b;
}

// ftyp, moov (holding the `gps ` index when asked), and mdat: `lead` filler bytes, then one block per fix.
Bytes Recording(const std::vector<Fix>& fixes, std::size_t statusAt, std::size_t blockSize, bool indexed,
                std::size_t lead = 0) {
  const Bytes ftyp = Box("ftyp", test::Text("isom") + Bytes{0, 0, 2, 0} + test::Text("isom"));
  Bytes index = Be32(0) + Be32(static_cast<std::uint32_t>(fixes.size()));
  const std::size_t mediaAt = ftyp.size() + (indexed ? 24 + 8 * fixes.size() : 8) + 8 + lead;
  Bytes media(lead, 0xAB);
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    index = index + Be32(static_cast<std::uint32_t>(mediaAt + i * blockSize)) + Be32(static_cast<std::uint32_t>(blockSize));
    media = media + Block(fixes[i], statusAt, blockSize);
  }
  return ftyp + Box("moov", indexed ? Box("gps ", index) : Bytes{}) + Box("mdat", media);
}

const Fix kMunich{10, 20, 30, 24, 5, 17, 'A', 'N', 'E', 4807.038f, 1131.0f, 10.0f, 84.4f, {256, -128, 512}};
const Fix kSydney{10, 20, 31, 24, 5, 17, 'A', 'S', 'W', 3351.5f, 15112.75f, 54.0f, 359.0f, {0, 64, 256}};
const Fix kVoid{10, 20, 32, 24, 5, 17, 'V', 0, 0, 0.0f, 0.0f, 0.0f, 0.0f};
const Fix kZeroZero{10, 20, 33, 24, 5, 17, 'A', 'N', 'E', 0.0f, 0.0f, 0.0f, 0.0f};
const Fix kPastPole{10, 20, 34, 24, 5, 17, 'A', 'N', 'E', 9130.0f, 1131.0f, 1.0f, 1.0f};
const Fix kThirtiethFeb{10, 20, 35, 23, 2, 30, 'A', 'N', 'E', 4807.038f, 1131.0f, 1.0f, 1.0f};

// What a fixture reads as: all samples, valid ones, accelerometer samples, a warning. ExifTool reads the valid
// ones of every fixture but the implausible one, whose fixes it takes and we do not.
struct Fixture {
  const char* name;
  Bytes file;
  std::tuple<std::size_t, std::size_t, std::size_t, bool> reads;
};

std::vector<Fixture> Fixtures() {
  const Bytes cut = Recording({kMunich, kSydney, kMunich}, 0x48, 0x4000, true);
  return {
      {"indexed", Recording({kMunich, kSydney, kVoid}, 0x48, 0x4000, true), {3, 2, 0, false}},
      {"accelerometer variant", Recording({kMunich, kSydney}, 0x28, 0x4000, true), {2, 2, 2, false}},
      {"scanned", Recording({kMunich, kSydney, kVoid}, 0x48, 0x8000, false, 0x1234), {3, 2, 0, false}},
      {"cut", Bytes(cut.begin(), cut.end() - 0x4000 + 40), {2, 2, 0, true}},
      {"no freeGPS", Recording({}, 0x48, 0x4000, false, 0x9000), {0, 0, 0, false}},
      {"implausible", Recording({kZeroZero, kPastPole, kThirtiethFeb}, 0x48, 0x4000, true), {3, 0, 0, false}},
  };
}

std::size_t ValidFixes(const TelemetryTrack& track) { return std::ranges::count(track.gps, true, &GpsSample::valid); }

TEST(NovatekTelemetry, ReadsBothLayoutsByIndexOrScanAndStopsAtDamageAsExifToolDoes) {
  const test::TempDir dir("novatek");
  for (const Fixture& fixture : Fixtures()) {
    SCOPED_TRACE(fixture.name);
    const TelemetryTrack track = ReadNovatekTelemetry(MemoryByteSource(fixture.file));
    EXPECT_EQ(track.layout, track.gps.empty() ? "" : "Novatek freeGPS");
    EXPECT_EQ(std::tuple(track.gps.size(), ValidFixes(track), track.accel.size(), !track.warning.empty()), fixture.reads)
        << track.warning;
    if (std::string_view(fixture.name) != "implausible")
      test::ExpectExifToolAgrees(dir / "fixture.mp4", fixture.file, track, ValidFixes(track));
  }
  // Times are UTC from the block's own fields, media times one second a block; accelerometer in 1/256 g.
  const TelemetryTrack track = ReadNovatekTelemetry(MemoryByteSource(Fixtures()[1].file));
  const AccelSample& a = track.accel[0];
  EXPECT_EQ(std::tuple(*track.gps[0].utcMs, track.gps[1].mediaMs, track.gps[1].headingDeg, a.x, a.y, a.z),
            std::tuple(1715941230000, 1000u, 359.0, 1.0, -0.5, 2.0));  // 2024-05-17 10:20:30 UTC
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

}  // namespace
}  // namespace vx
