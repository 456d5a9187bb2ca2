// Byte-order reads of binary GPS records and the checks every fix read from them must pass.
#pragma once

#include <cstdint>
#include <optional>

#include "core/telemetry/TelemetryTrack.h"

namespace vx {

inline std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
inline std::uint32_t Le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint16_t Be16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] << 8 | p[1]); }
inline std::uint32_t Be32(const std::uint8_t* p) {
  return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
}

// UTC milliseconds of a calendar time from 2000 to 2200 that exists; nullopt for any other.
std::optional<std::int64_t> CalendarUtcMs(unsigned year, unsigned month, unsigned day, unsigned hour, unsigned minute,
                                          unsigned second);

// UTC milliseconds of seconds since 1970 when they fall from 2000 to 2200; nullopt otherwise.
std::optional<std::int64_t> UnixUtcMs(std::int64_t seconds);

// Degrees of a DDDMM.MMMM value, its sign kept; nullopt when not finite or the minutes are 60 or more.
std::optional<double> DdmmDegrees(double ddmm);

// A fix at `mediaMs`, valid only when every field is there and in range: a time, |latitude| <= 90,
// |longitude| <= 180, not 0/0 (what receivers report before they have a fix), speed from 0 to 600 km/h.
// An invalid fix keeps only its times, so that the track shows the gap.
GpsSample CheckedFix(std::uint32_t mediaMs, std::optional<std::int64_t> utcMs, std::optional<double> latitude,
                     std::optional<double> longitude, double speedKmh);

}  // namespace vx
