// The VX-880QN log in common units: hemispheres, the camera's +9 hour clock taken back to UTC across a day
// and a month, fixes that are not whole or out of range, and the axes in g.
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
const Fix kNoFix{false, 0, 0, std::nullopt};

TEST(ReadVx880Telemetry, ConvertsEachFixToDegreesAndUtc) {
  const std::pair<const char*, Fix> cases[] = {
      {"GPRMC,123519,A,4807.0380,N,01131.0000,E,0,0,230394", {true, 48117300, 11516667, UtcSeconds(1994, 3, 23, 12, 35, 19) * 1000}},
      {"GPRMC,123519,A,3330.0000,S,07030.0000,W,0,0,230394", {true, -33500000, -70500000, UtcSeconds(1994, 3, 23, 12, 35, 19) * 1000}},
      // 23:30 UTC on 31 December reads 32:30 on the camera's clock: back to UTC it stays on that day.
      {"GPRMC,233000,A,3734.2321,N,12658.6800,E,0,0,311226", {true, 37570535, 126978000, UtcSeconds(2026, 12, 31, 23, 30, 0) * 1000}},
      {"GPRMC,235959,A,3734.2321,N,12658.6800,E,0,0,280227", {true, 37570535, 126978000, UtcSeconds(2027, 2, 28, 23, 59, 59) * 1000}},
      // No fix: marked void, cut short, a field empty, not a number or out of range, no such day.
      {"GPRMC,123519,V,4807.0380,N,01131.0000,E,0,0,230394", kNoFix},
      {"GPRMC,123519,A,4807.0380,N,01131.0000", kNoFix},
      {"GPRMC,001502.00,A,nan,N,12658.6800,E,1,2,061226", kNoFix},
      {"GPRMC,001503.00,A,9500.0000,N,12658.6800,E,1,2,061226", kNoFix},
      {"GPRMC,001504.00,A,3734.2321,N,18000.0000,E,1,2,061226", kNoFix},  // 180 east is -180
      {"GPRMC,001505.00,A,3775.0000,N,12658.6800,E,1,2,061226", kNoFix},  // 75 minutes
      {"GPRMC,001506.00,A,3734.2321,N,12658.6800,E,1,2,310426", kNoFix},
      // Empty fields read as 0: on the equator, at midnight or in the southern and western hemispheres.
      {"GPRMC,001508.00,A,,N,12658.6800,E,1,2,061226", kNoFix},
      {"GPRMC,001509.00,A,3734.2321,N,,E,1,2,061226", kNoFix},
      {"GPRMC,,A,3734.2321,N,12658.6800,E,1,2,061226", kNoFix},
      {"GPRMC,001511.00,A,3734.2321,,12658.6800,E,1,2,061226", kNoFix},
      {"GPRMC,001512.00,A,3734.2321,N,12658.6800,,1,2,061226", kNoFix},
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

TEST(ReadVx880Telemetry, TheLayoutTableReadsAxesInG) {
  const auto file = LogFile("M\x60\x80\x01"sv);  // 128 - byte: 32, 0, 127 units
  const TelemetryTrack track = ReadTelemetry(MemoryByteSource(file), {});
  ASSERT_EQ(std::tuple(track.layout, track.accel.size()), std::tuple("VX-880QN log", 1u));
  EXPECT_EQ(std::tuple(track.accel[0].x, track.accel[0].y, track.accel[0].z), std::tuple(1.0, 0.0, 3.96875));
}

}  // namespace
}  // namespace vx
