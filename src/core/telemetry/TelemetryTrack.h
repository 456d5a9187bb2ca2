// The telemetry of one recording in common units, whichever camera's layout it was read from.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace vx {

// One GPS fix. Only fixes that the layout marks valid and whose fields are complete and in range become
// samples with `valid` set; a reader may keep the others (valid false) so that a track shows its gaps.
struct GpsSample {
  std::uint32_t mediaMs = 0;               // time in the recording
  std::optional<std::int64_t> utcMs;       // the fix's own time, UTC milliseconds since 1970, when stated
  bool valid = false;
  double latitude = 0.0;                   // degrees, north positive
  double longitude = 0.0;                  // degrees, east positive
  std::optional<double> altitudeM;         // metres above sea level, when stated
  double speedKmh = 0.0;
  std::optional<double> headingDeg;        // 0 to 360, clockwise from north, when stated
};

// One accelerometer sample in g per axis (the camera's own axes: x across, y along, z up where known).
struct AccelSample {
  std::uint32_t mediaMs = 0;
  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

// What one reader found in one recording.
struct TelemetryTrack {
  std::string layout;     // the layout read ("VX-880QN log", "Novatek freeGPS", ...); empty when none
  std::vector<GpsSample> gps;
  std::vector<AccelSample> accel;
  std::string warning;    // one line on damage where reading stopped early; empty otherwise
};

}  // namespace vx
