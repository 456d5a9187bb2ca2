// Simulates a car's drive as the camera's sensors would record it: 1 Hz RMC fixes and 10 Hz G-sensor samples.
#pragma once

#include <cstdint>
#include <vector>

#include "core/telemetry/TelemetryLog.h"

namespace vx::mkcard {

// Wall-clock start of a recording in the camera's local time (UTC+9).
struct LocalTime {
  int year, month, day, hour, minute, second;
};

// `t` moved by `seconds`, the date rolling over as a calendar's does.
LocalTime ShiftSeconds(const LocalTime& t, long long seconds);

struct DriveScript {
  LocalTime start{};
  int seconds = 10;
  std::uint32_t seed = 1;
  bool parked = false;       // parking recording: the car stands still
  int impactMs = -1;         // time of a sharp impact, -1 for none
  int brakeTripMs = -1;      // start of an emergency stop, in ms from the trip's start; -1 for none
  int signalLossFrom = -1;   // first second of a GPS drop-out ('V' fixes), -1 for none
  int signalLossSeconds = 0;
  // Seconds the same trip had already run in earlier recordings: the car carries on where they ended.
  int tripSecondsBefore = 0;
};

// What the car did each 100 ms, for the picture painter and the sound: speed and steering.
struct MotionSample {
  double speedKmh;
  double turnRate;  // degrees per second, positive to the right
  double shock;     // 0 .. 1 strength of an impact being felt
};

struct Drive {
  std::vector<TelemetryRecord> records;  // in media-time order, fixes and samples interleaved
  std::vector<MotionSample> motion;      // one per 100 ms
};

Drive SimulateDrive(const DriveScript& script);

// UTC milliseconds since 1970 of the drive's first moment (its start is the camera's local time).
std::int64_t StartUtcMs(const DriveScript& script);

// "GPRMC,..." with its checksum, as the camera stores a fix (the leading 'G' is the record tag).
std::vector<std::uint8_t> MakeGpsRecord(const LocalTime& utc, bool valid, double latDeg, double lonDeg,
                                        double speedKnots, double courseDeg);
std::vector<std::uint8_t> MakeGSensorRecord(int x, int y, int z);

}  // namespace vx::mkcard
