// The VX-880QN log in common units: hemispheres, the camera's +9 hour clock taken back to UTC across a day
// and a month, fixes that are not whole, and the axes in g; and the layout table's answer for other files.
#include "core/telemetry/layouts/Vx880Telemetry.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string_view>
#include <tuple>

#include "TestTime.h"
#include "core/telemetry/TelemetryLayouts.h"
#include "core/telemetry/TelemetryLog.h"

namespace vx {
namespace {

using namespace std::string_view_literals;
using test::UtcSeconds;

std::vector<std::uint8_t> LogFile(std::string_view record) {
  std::vector<std::uint8_t> bytes(record.begin(), record.end());
  bytes.push_back(0);
  const TelemetryRecord records[] = {{1000, bytes}};
  return WrapMp4Box(EncodeTelemetryPayload(records));
}

// Each record read as one fix: valid, latitude and longitude in 1e-6 degrees, UTC.
using Fix = std::tuple<bool, long, long, std::optional<std::int64_t>>;

TEST(ReadVx880Telemetry, ConvertsEachFixToDegreesAndUtc) {
  const std::pair<const char*, Fix> cases[] = {
      {"GPRMC,123519,A,4807.0380,N,01131.0000,E,0,0,230394", {true, 48117300, 11516667, UtcSeconds(1994, 3, 23, 12, 35, 19) * 1000}},
      {"GPRMC,123519,A,3330.0000,S,07030.0000,W,0,0,230394", {true, -33500000, -70500000, UtcSeconds(1994, 3, 23, 12, 35, 19) * 1000}},
      // 23:30 UTC on 31 December reads 32:30 on the camera's clock: back to UTC it stays on that day.
      {"GPRMC,233000,A,3734.2321,N,12658.6800,E,0,0,311226", {true, 37570535, 126978000, UtcSeconds(2026, 12, 31, 23, 30, 0) * 1000}},
      {"GPRMC,235959,A,3734.2321,N,12658.6800,E,0,0,280227", {true, 37570535, 126978000, UtcSeconds(2027, 2, 28, 23, 59, 59) * 1000}},
      {"GPRMC,123519,V,4807.0380,N,01131.0000,E,0,0,230394", {false, 0, 0, std::nullopt}},  // marked void
      {"GPRMC,123519,A,4807.0380,N,01131.0000", {false, 0, 0, std::nullopt}},               // cut short
      {"GPRMC,123519,A,,N,01131.0000,E,0,0,230394", {false, 0, 0, std::nullopt}},           // no latitude
  };
  for (const auto& [rmc, expected] : cases) {
    const auto file = LogFile(rmc);
    const TelemetryTrack track = ReadVx880Telemetry(MemoryByteSource(file));
    ASSERT_EQ(std::tuple(track.layout, track.gps.size()), std::tuple("VX-880QN log", 1u)) << rmc;
    const GpsSample& fix = track.gps[0];
    EXPECT_EQ(fix.mediaMs, 1000u);
    EXPECT_EQ(Fix(fix.valid, std::lround(fix.latitude * 1e6), std::lround(fix.longitude * 1e6), fix.utcMs), expected) << rmc;
  }
}

TEST(ReadVx880Telemetry, ReadsAxesInGAndFindsNoLayoutInOtherFiles) {
  const auto file = LogFile("M\x60\x80\x01"sv);  // 128 - byte: 32, 0, 127 units
  const SideFiles none = [](std::string_view) { return std::unique_ptr<ByteSource>(); };
  const TelemetryTrack track = ReadTelemetry(MemoryByteSource(file), none);
  EXPECT_EQ(track.layout, "VX-880QN log");
  ASSERT_EQ(track.accel.size(), 1u);
  EXPECT_EQ(std::tuple(track.accel[0].x, track.accel[0].y, track.accel[0].z), std::tuple(1.0, 0.0, 3.96875));
  // Not a recording, and an MP4 without a log.
  for (const std::vector<std::uint8_t>& bytes : {std::vector<std::uint8_t>{'n', 'o', 'n', 'e'},
                                                 std::vector<std::uint8_t>{0, 0, 0, 8, 'f', 'r', 'e', 'e'}}) {
    const TelemetryTrack other = ReadTelemetry(MemoryByteSource(bytes), none);
    EXPECT_TRUE(other.layout.empty() && other.gps.empty() && other.accel.empty());
  }
}

}  // namespace
}  // namespace vx
