// Novatek freeGPS telemetry: our reader on written fixtures, its reads bounded to the index, and ExifTool's
// reading of the same files.
#include "core/telemetry/layouts/NovatekTelemetry.h"

#include <gtest/gtest.h>

#include <bit>

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

// A freeGPS block with the record at `statusAt` (0x48 common layout, 0x28 the accelerometer variant).
Bytes Block(const Fix& f, std::size_t statusAt, std::size_t size) {
  const std::uint32_t status = std::uint32_t(f.status) | f.northSouth << 8 | f.eastWest << 16;
  Bytes b = Be32(static_cast<std::uint32_t>(size)) + test::Text("freeGPS ") + Bytes(statusAt - 24 - 12, 0);
  for (const std::uint32_t field : {f.hour, f.minute, f.second, f.year, f.month, f.day, status,
                                    std::bit_cast<std::uint32_t>(f.latitude), std::bit_cast<std::uint32_t>(f.longitude),
                                    std::bit_cast<std::uint32_t>(f.knots), std::bit_cast<std::uint32_t>(f.heading)}) {
    b = b + test::Le(field, 4);
  }
  for (const std::int32_t g : f.accel) b = statusAt == 0x28 ? b + test::Le(std::uint32_t(g), 4) : b;
  b.resize(size);
  return b;
}

// ftyp, moov (holding the `gps ` index when asked), and mdat: `lead` filler bytes, then one block per fix.
Bytes Recording(const std::vector<Fix>& fixes, std::size_t statusAt, std::size_t blockSize, bool indexed,
                std::size_t lead = 0) {
  Bytes index = Be32(0) + Be32(static_cast<std::uint32_t>(fixes.size()));
  const std::size_t mediaAt = test::kFtyp.size() + (indexed ? 24 + 8 * fixes.size() : 8) + 8 + lead;
  Bytes media(lead, 0xAB);
  for (std::size_t i = 0; i < fixes.size(); ++i) {
    index = index + Be32(static_cast<std::uint32_t>(mediaAt + i * blockSize)) + Be32(static_cast<std::uint32_t>(blockSize));
    media = media + Block(fixes[i], statusAt, blockSize);
  }
  return test::kFtyp + Box("moov", indexed ? Box("gps ", index) : Bytes{}) + Box("mdat", media);
}

const Fix kMunich{10, 20, 30, 24, 5, 17, 'A', 'N', 'E', 4807.038f, 1131.0f, 10.0f, 84.4f, {256, -128, 512}};
const Fix kSydney{10, 20, 31, 24, 5, 17, 'A', 'S', 'W', 3351.5f, 15112.75f, 54.0f, 359.0f, {0, 64, 256}};
const Fix kVoid{10, 20, 32, 24, 5, 17, 'V', 0, 0, 0.0f, 0.0f, 0.0f, 0.0f};
const Fix kZeroZero{10, 20, 33, 24, 5, 17, 'A', 'N', 'E', 0.0f, 0.0f, 0.0f, 0.0f};
const Fix kPastPole{10, 20, 34, 24, 5, 17, 'A', 'N', 'E', 9130.0f, 1131.0f, 1.0f, 1.0f};
const Fix kThirtiethFeb{10, 20, 35, 23, 2, 30, 'A', 'N', 'E', 4807.038f, 1131.0f, 1.0f, 1.0f};

std::vector<test::LayoutFixture> Fixtures() {
  const Bytes cut = Recording({kMunich, kSydney, kMunich}, 0x48, 0x4000, true);
  constexpr const char* kNovatek = "Novatek freeGPS";
  return {
      {"indexed", Recording({kMunich, kSydney, kVoid}, 0x48, 0x4000, true), {kNovatek, 3, 2, 0, false}, 2},
      {"accelerometer variant", Recording({kMunich, kSydney}, 0x28, 0x4000, true), {kNovatek, 2, 2, 2, false}, 2},
      {"scanned", Recording({kMunich, kSydney, kVoid}, 0x48, 0x8000, false, 0x1234), {kNovatek, 3, 2, 0, false}, 2},
      {"cut", test::Cut(cut, 0x4000 - 40), {kNovatek, 2, 2, 0, true}, 2},
      {"no freeGPS", Recording({}, 0x48, 0x4000, false, 0x9000), {"", 0, 0, 0, false}, 0},
      // ExifTool takes these fixes, which are none for us.
      {"implausible", Recording({kZeroZero, kPastPole, kThirtiethFeb}, 0x48, 0x4000, true), {kNovatek, 3, 0, 0, false}},
  };
}

TEST(NovatekTelemetry, ReadsBothLayoutsByIndexOrScanAndStopsAtDamageAsExifToolDoes) {
  const std::vector<TelemetryTrack> tracks = test::ExpectFixturesRead(Fixtures());
  // Times are UTC from the block's own fields, media times one second a block; accelerometer in 1/256 g.
  const TelemetryTrack& track = tracks.at(1);
  const AccelSample& a = track.accel.at(0);
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
