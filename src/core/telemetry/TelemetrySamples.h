// One G-sensor sample and one GPS fix, as parsed from the camera's telemetry records.
#pragma once

#include <cstdint>

namespace vx {

struct CGSensorData {
  std::int32_t x = 0;  // 128 minus the first axis byte: -127 .. 128
  std::int32_t y = 0;
  std::int32_t z = 0;
  std::uint32_t time = 0;  // media time in milliseconds
};

struct CGPSData {
  std::int32_t year = 0;    // two-digit year (yy)
  std::int32_t month = 0;   // 1 .. 12
  std::int32_t day = 0;
  std::int32_t hour = 0;    // hour of the fix plus 9, not wrapped: 9 .. 32
  std::int32_t minute = 0;
  std::int32_t second = 0;
  std::int32_t valid = 0;   // 1 when the status letter is 'A'
  double latitude = 0.0;    // ddmm.mmmm, negative unless north
  double longitude = 0.0;   // dddmm.mmmm, negative unless east
  double speed = 0.0;       // km/h, rounded to single precision
  double course = 0.0;      // degrees, rounded to single precision
  std::int64_t epoch = 0;   // seconds since 1970 of the (+9 h) fix time as local time; 0 when not computed
  std::uint32_t time = 0;   // media time in milliseconds
};

}  // namespace vx
