// What every track a telemetry reader hands out must hold, whatever bytes it read: aborts the fuzz run if not.
#pragma once

#include <cmath>
#include <cstdlib>

#include "core/telemetry/TelemetryTrack.h"

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

}  // namespace vx::fuzz
