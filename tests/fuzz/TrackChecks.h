// What every track a telemetry reader hands out must hold, whatever bytes it read: aborts the fuzz run if not.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <span>

#include "core/telemetry/ByteSource.h"
#include "core/telemetry/TelemetryTrack.h"
#include "core/telemetry/layouts/SideFiles.h"

namespace vx::fuzz {

inline void CheckTrack(const TelemetryTrack& track) {
  for (const GpsSample& fix : track.gps) {
    const bool inRange = std::abs(fix.latitude) <= 90 && std::abs(fix.longitude) <= 180 && fix.speedKmh >= 0;
    if (fix.valid && !inRange) std::abort();
  }
  for (const AccelSample& a : track.accel) {
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(a.z)) std::abort();
  }
}

// Readers of a receiver's own fixes promise more: a heading within one turn, never the 0,0 a receiver
// without a fix reports, and, where the layout carries a date, the fix's UTC time.
inline void CheckFixDetails(const TelemetryTrack& track, bool dated) {
  CheckTrack(track);
  for (const GpsSample& fix : track.gps) {
    const bool headingOk = !fix.headingDeg || (*fix.headingDeg >= 0 && *fix.headingDeg <= 360);
    if (fix.valid && (!headingOk || (fix.latitude == 0 && fix.longitude == 0) || (dated && !fix.utcMs))) {
      std::abort();
    }
  }
}

// Every side file a reader asks for holds the fuzz input.
inline SideFiles SideFilesOf(std::span<const std::uint8_t> bytes) {
  return [bytes](std::string_view) { return std::make_unique<MemoryByteSource>(bytes); };
}

}  // namespace vx::fuzz
