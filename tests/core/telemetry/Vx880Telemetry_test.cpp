// The VX-880QN log in common units: hemispheres, the camera's +9 hour clock taken back to UTC across a day
// and a month, fixes that are not whole, and the axes in g; and the layout table's answer for other files.
#include "core/telemetry/layouts/Vx880Telemetry.h"

#include <gtest/gtest.h>

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

TEST(ReadVx880Telemetry, ConvertsEachFixToDegreesAndUtc) {
  struct Case {
    const char* rmc;
    bool valid;
    double latitude, longitude;
    std::int64_t utcSeconds;
  };
  const Case cases[] = {
      {"GPRMC,123519,A,4807.0380,N,01131.0000,E,0,0,230394", true, 48.1173, 11.516667, UtcSeconds(1994, 3, 23, 12, 35, 19)},
      {"GPRMC,123519,A,3330.0000,S,07030.0000,W,0,0,230394", true, -33.5, -70.5, UtcSeconds(1994, 3, 23, 12, 35, 19)},
      // 23:30 UTC on 31 December reads 32:30 on the camera's clock: back to UTC it stays on that day.
      {"GPRMC,233000,A,3734.2321,N,12658.6800,E,0,0,311226", true, 37.570535, 126.978, UtcSeconds(2026, 12, 31, 23, 30, 0)},
      {"GPRMC,235959,A,3734.2321,N,12658.6800,E,0,0,280227", true, 37.570535, 126.978, UtcSeconds(2027, 2, 28, 23, 59, 59)},
      {"GPRMC,123519,V,4807.0380,N,01131.0000,E,0,0,230394", false, 0, 0, 0},  // marked void
      {"GPRMC,123519,A,4807.0380,N,01131.0000", false, 0, 0, 0},               // cut short
      {"GPRMC,123519,A,,N,01131.0000,E,0,0,230394", false, 0, 0, 0},           // no latitude
  };
  for (const Case& c : cases) {
    const auto file = LogFile(c.rmc);
    const TelemetryTrack track = ReadVx880Telemetry(MemoryByteSource(file));
    EXPECT_EQ(track.layout, "VX-880QN log");
    ASSERT_EQ(track.gps.size(), 1u) << c.rmc;
    const GpsSample& fix = track.gps[0];
    EXPECT_EQ(fix.mediaMs, 1000u);
    EXPECT_EQ(fix.valid, c.valid) << c.rmc;
    EXPECT_NEAR(fix.latitude, c.latitude, 1e-6) << c.rmc;
    EXPECT_NEAR(fix.longitude, c.longitude, 1e-6) << c.rmc;
    EXPECT_EQ(fix.utcMs, c.valid ? std::optional(c.utcSeconds * 1000) : std::nullopt) << c.rmc;
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
